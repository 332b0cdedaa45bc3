#!/bin/sh
# Starts (start) or stops (stop) the one wineserver that a whole Windows
# test run shares, in the prefix that WINEPREFIX names.
#     wine_server.sh start|stop WINE WINESERVER
# The server and what wineboot starts outlive this script: they must not
# hold its output open, or ctest waits for them.
set -e
case "$1" in
start)
  mkdir -p "$WINEPREFIX"
  "$3" -p >/dev/null 2>&1 </dev/null
  "$2" wineboot --init >/dev/null 2>&1 </dev/null ;;
stop)
  "$3" -k ;;
esac
