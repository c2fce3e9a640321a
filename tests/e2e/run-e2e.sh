#!/usr/bin/env bash
# Runs e2e.py under a virtual X server and a private D-Bus session.
# usage: run-e2e.sh PELMARK
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
  dbus-run-session -- /usr/bin/python3 "$here/e2e.py" "$@"
