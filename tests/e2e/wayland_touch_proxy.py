#!/usr/bin/python3
"""Touch for a Wayland client whose compositor has none: a proxy between the client and the socket.

    wayland_touch_proxy.py LISTEN_SOCKET COMPOSITOR_SOCKET CONTROL_FIFO

The client connects to LISTEN_SOCKET as to a compositor; every message goes on to
COMPOSITOR_SOCKET unchanged (file descriptors too), except that the seat's capabilities gain
touch. The client then asks the seat for a wl_touch. That request still goes on to the
compositor, which makes an inert touch object of it (a seat hands one out even without the
capability, so that a client racing a capability change gets no error); passing it on keeps the
client's object ids without a gap, which the compositor's id table would refuse. The proxy
remembers the object's id and the window's surface (the one given an xdg_surface).

Lines written to CONTROL_FIFO become touch events on that object, sent to the client between
whole messages from the compositor, each line ending with a wl_touch.frame:
    down ID X Y     a finger goes down at (X, Y) surface points
    move ID X Y     it moves there
    up ID           it lifts
several commands on one line are separated by ';'. What the proxy learns and does goes to its
standard output, one line each ("touch ready" once events can be sent).
"""
import os
import select
import socket
import struct
import sys
import time

SEAT_TOUCH = 4  # wl_seat.capability.touch
MAX_FDS = 28  # libwayland never sends more with one message


def fixed(value):
    return int(round(float(value) * 256))


class Connection:
    """One client and its own connection to the compositor, with what the proxy learnt of it."""

    def __init__(self, client, server):
        self.client, self.server = client, server
        self.buffers = {client: b"", server: b""}
        self.fds = {client: [], server: []}
        self.interfaces = {1: "wl_display"}  # object id -> interface, for the objects that matter
        self.touch = None
        self.surface = None
        self.ready = False
        self.serial = 0x1000

    def peer(self, sock):
        return self.server if sock is self.client else self.client

    def pump(self, sock):
        """Reads what `sock` sent and passes its whole messages on; False once it closed."""
        data, ancillary, _, _ = sock.recvmsg(65536, socket.CMSG_SPACE(MAX_FDS * 4))
        if not data:
            return False
        for level, kind, payload in ancillary:
            if level == socket.SOL_SOCKET and kind == socket.SCM_RIGHTS:
                self.fds[sock] += list(struct.unpack("%di" % (len(payload) // 4), payload[: len(payload) // 4 * 4]))
        buffer = self.buffers[sock] + data
        out = b""
        while len(buffer) >= 8:
            obj, size_opcode = struct.unpack_from("<II", buffer)
            size = size_opcode >> 16
            if size < 8 or len(buffer) < size:
                break
            message, buffer = buffer[:size], buffer[size:]
            out += self.look(sock is self.client, obj, size_opcode & 0xFFFF, message)
        self.buffers[sock] = buffer
        self.send(self.peer(sock), out, self.fds[sock])
        self.fds[sock] = []
        return True

    def look(self, from_client, obj, opcode, message):
        """Notes what matters in one message and returns it, changed where it must be."""
        interface = self.interfaces.get(obj)
        words = lambda n: struct.unpack_from("<%dI" % n, message, 8)
        if from_client:
            if interface == "wl_display" and opcode == 1:  # get_registry(new_id)
                self.interfaces[words(1)[0]] = "wl_registry"
            elif interface == "wl_registry" and opcode == 0:  # bind(name, interface, version, new_id)
                length = words(2)[1]
                name = message[16 : 16 + length - 1].decode()
                new_id = struct.unpack_from("<I", message, 16 + (length + 3) // 4 * 4 + 4)[0]
                self.interfaces[new_id] = name
            elif interface == "wl_seat" and opcode == 2:  # get_touch(new_id)
                self.touch = words(1)[0]
                print("touch object %d" % self.touch, flush=True)
            elif interface == "xdg_wm_base" and opcode == 2:  # get_xdg_surface(new_id, surface)
                self.surface = words(2)[1]
                print("window surface %d" % self.surface, flush=True)
            if self.touch and self.surface and not self.ready:
                self.ready = True
                print("touch ready", flush=True)
        elif interface == "wl_seat" and opcode == 0:  # capabilities(uint)
            capabilities = words(1)[0]
            print("seat capabilities %d, told %d" % (capabilities, capabilities | SEAT_TOUCH), flush=True)
            return message[:8] + struct.pack("<I", capabilities | SEAT_TOUCH)
        return message

    def send(self, sock, data, fds=()):
        if not data:
            for fd in fds:
                os.close(fd)
            return
        ancillary = [(socket.SOL_SOCKET, socket.SCM_RIGHTS, struct.pack("%di" % len(fds), *fds))] if fds else []
        sent = sock.sendmsg([data], ancillary)
        if sent < len(data):
            sock.sendall(data[sent:])
        for fd in fds:
            os.close(fd)

    def touch_event(self, opcode, *args):
        """args: (format, value) pairs after the header."""
        body = b"".join(struct.pack("<" + f, v) for f, v in args)
        return struct.pack("<II", self.touch, (8 + len(body)) << 16 | opcode) + body

    def command(self, line):
        """Sends the touch events of one control line, closed by a frame."""
        if not self.ready:
            print("not ready for: %s" % line, flush=True)
            return
        now = int(time.monotonic() * 1000) & 0xFFFFFFFF
        out = b""
        for part in filter(None, (p.split() for p in line.split(";"))):
            self.serial += 1
            if part[0] == "down" and len(part) == 4:
                out += self.touch_event(0, ("I", self.serial), ("I", now), ("I", self.surface),
                                        ("i", int(part[1])), ("i", fixed(part[2])), ("i", fixed(part[3])))
            elif part[0] == "move" and len(part) == 4:
                out += self.touch_event(2, ("I", now), ("i", int(part[1])), ("i", fixed(part[2])), ("i", fixed(part[3])))
            elif part[0] == "up" and len(part) == 2:
                out += self.touch_event(1, ("I", self.serial), ("I", now), ("i", int(part[1])))
            else:
                print("not understood: %s" % " ".join(part), flush=True)
                return
        self.send(self.client, out + self.touch_event(3))
        print("sent: %s" % line, flush=True)


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: wayland_touch_proxy.py LISTEN_SOCKET COMPOSITOR_SOCKET CONTROL_FIFO")
    listen_path, compositor_path, control_path = sys.argv[1:]
    os.mkfifo(control_path)
    # Opened for writing too, so that the pipe never reads as ended between the test's writes.
    control = os.open(control_path, os.O_RDWR | os.O_NONBLOCK)
    listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    listener.bind(listen_path)
    listener.listen(4)
    print("listening on %s" % listen_path, flush=True)
    connections, pending = [], b""
    while True:
        socks = [s for c in connections for s in (c.client, c.server)]
        readable, _, _ = select.select([listener, control] + socks, [], [])
        for sock in readable:
            if sock is listener:
                client, _ = listener.accept()
                server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
                server.connect(compositor_path)
                connections.append(Connection(client, server))
                print("client %d connected" % len(connections), flush=True)
            elif sock is control:
                pending += os.read(control, 4096)
                *lines, pending = pending.split(b"\n")
                # The newest client with a touch object takes the fingers.
                ready = [c for c in connections if c.ready]
                for line in lines:
                    if ready:
                        ready[-1].command(line.decode())
                    else:
                        print("no client with touch for: %s" % line.decode(), flush=True)
            else:
                for c in connections:
                    if sock in (c.client, c.server):
                        try:
                            alive = c.pump(sock)
                        except OSError as error:
                            print("connection error: %s" % error, flush=True)
                            alive = False
                        if not alive:
                            c.client.close()
                            c.server.close()
                            connections.remove(c)
                            print("a client left", flush=True)
                        break


if __name__ == "__main__":
    main()
