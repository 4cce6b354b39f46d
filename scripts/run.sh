#!/usr/bin/env bash
# Installs what is missing, builds the program and runs it. Without a supported mouse it runs against the
# virtual mouse attached through the 2.4 GHz receiver. Arguments replace the default command.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh normal mousecfg-cli
if [ $# -gt 0 ]; then
    exec build/bin/mousecfg-cli "$@"
fi
exec build/bin/mousecfg-cli --simulate receiver --trace info
