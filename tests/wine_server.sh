#!/bin/sh
# Starts (start) or stops (stop) the one wineserver that a whole Windows
# test run shares, in the prefix that WINEPREFIX names.
#     wine_server.sh start|stop WINESERVER WINE...
# The server and what wineboot starts outlive this script: they must not
# hold its output open, or ctest waits for them.
set -e
step=$1 server=$2
shift 2
case "$step" in
start)
  # The server that creates a prefix is left in a state where, some seconds
  # on, a console's input arrives 3 to 10 s late (the terminal test took 47 s
  # instead of 8): so a new prefix is made by a server of its own, which ends
  # with it, and the run's server starts on the finished prefix.
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$@" wineboot --init >/dev/null 2>&1 </dev/null
    "$server" -k 2>/dev/null || true # already gone if it ended by itself
    "$server" -w
  fi
  "$server" -p >/dev/null 2>&1 </dev/null
  "$@" wineboot --init >/dev/null 2>&1 </dev/null ;;
stop)
  "$server" -k ;;
esac
