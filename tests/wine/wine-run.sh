#!/bin/sh
# Runs a Windows test program under Wine, in the prefix and on the display
# that scripts/test.sh prepared.
if [ -z "$WINEPREFIX" ] || [ -z "$DISPLAY" ]; then
    echo "wine-run.sh: WINEPREFIX and DISPLAY are not set; run the tests with scripts/test.sh" >&2
    exit 2
fi
exec wine "$@"
