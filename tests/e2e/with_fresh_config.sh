#!/usr/bin/env bash
# Runs a command with XDG_CONFIG_HOME in a folder of its own, removed afterwards: the settings the
# window remembers (the layer, the last place) are then neither the user's nor another run's, and
# every run starts as on a machine where dazed never ran.
# Usage: with_fresh_config.sh COMMAND [ARG...]
set -u
config=$(mktemp -d "${TMPDIR:-/tmp}/dazed-config-XXXXXX") || exit 1
trap 'rm -rf "$config"' EXIT
XDG_CONFIG_HOME=$config "$@"
