#!/usr/bin/env bash
# Gives the tests' Wine prefix (WINEPREFIX) the null graphics driver, so that windows can be
# made and driven by messages without an X server. The prefix's Wine server stops after, so that
# the next program starts with the setting.
set -euo pipefail
"$1" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
wineserver -k 2>/dev/null || true
