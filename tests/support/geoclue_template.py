'''A stand-in for GeoClue 2 on a private bus, for python3-dbusmock.

It offers what a client of GeoClue uses: the manager's GetClient, the client's DesktopId and
RequestedAccuracyLevel properties, Start and Stop, the LocationUpdated signal and the location
object's properties. The parameters (JSON) choose the answer:

  mode       "good" (default): answers at once, or after "delay" seconds;
             "silent": starts but never answers;
             "deny": Start fails with org.freedesktop.DBus.Error.AccessDenied
  latitude, longitude, altitude, accuracy: the answer (NaN and Infinity are allowed)
  delay      seconds between Start and the answer
'''

import dbus
from dbusmock import mockobject
from gi.repository import GLib

BUS_NAME = 'org.freedesktop.GeoClue2'
MAIN_OBJ = '/org/freedesktop/GeoClue2/Manager'
MAIN_IFACE = 'org.freedesktop.GeoClue2.Manager'
SYSTEM_BUS = True

CLIENT_IFACE = 'org.freedesktop.GeoClue2.Client'
LOCATION_IFACE = 'org.freedesktop.GeoClue2.Location'
CLIENT_PATH = '/org/freedesktop/GeoClue2/Client/1'
LOCATION_PATH = '/org/freedesktop/GeoClue2/Location/1'


def load(mock, parameters):
    mock.AddMethod(MAIN_IFACE, 'GetClient', '', 'o', lambda self: get_client(self, parameters))
    mock.AddProperties(MAIN_IFACE, dbus.Dictionary({
        'InUse': False,
        'AvailableAccuracyLevel': dbus.UInt32(8),
    }, signature='sv'))


def get_client(manager, parameters):
    if CLIENT_PATH not in mockobject.objects:
        manager.AddObject(CLIENT_PATH, CLIENT_IFACE, {
            'Location': dbus.ObjectPath('/'),
            'DesktopId': '',
            'RequestedAccuracyLevel': dbus.UInt32(0),
            'DistanceThreshold': dbus.UInt32(0),
            'TimeThreshold': dbus.UInt32(0),
            'Active': False,
        }, [])
        client = mockobject.objects[CLIENT_PATH]
        client.AddMethod(CLIENT_IFACE, 'Start', '', '', lambda self: start(self, manager, parameters))
        client.AddMethod(CLIENT_IFACE, 'Stop', '', '', lambda self: None)
    return dbus.ObjectPath(CLIENT_PATH)


def start(client, manager, parameters):
    mode = parameters.get('mode', 'good')
    if mode == 'deny':
        raise dbus.exceptions.DBusException('the user said no', name='org.freedesktop.DBus.Error.AccessDenied')
    # Like GeoClue, nobody is served who has not said which application they are.
    if not client.Get(CLIENT_IFACE, 'DesktopId'):
        raise dbus.exceptions.DBusException('no DesktopId', name='org.freedesktop.DBus.Error.AccessDenied')
    if mode == 'silent':
        return

    def answer():
        if LOCATION_PATH not in mockobject.objects:
            manager.AddObject(LOCATION_PATH, LOCATION_IFACE, {
                'Latitude': dbus.Double(parameters.get('latitude', 48.85)),
                'Longitude': dbus.Double(parameters.get('longitude', 2.35)),
                'Altitude': dbus.Double(parameters.get('altitude', -1.7976931348623157e308)),
                'Accuracy': dbus.Double(parameters.get('accuracy', 5000.0)),
                'Speed': dbus.Double(-1.0),
                'Heading': dbus.Double(-1.0),
                'Description': '',
                'Timestamp': dbus.Struct((dbus.UInt64(0), dbus.UInt64(0)), signature='tt'),
            }, [])
        client.Set(CLIENT_IFACE, 'Location', dbus.ObjectPath(LOCATION_PATH))
        client.EmitSignal(CLIENT_IFACE, 'LocationUpdated', 'oo',
                          [dbus.ObjectPath('/'), dbus.ObjectPath(LOCATION_PATH)])
        return False

    # After the reply, as GeoClue answers: the place comes once it is known.
    GLib.timeout_add(int(parameters.get('delay', 0) * 1000), answer)
