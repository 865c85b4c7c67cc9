#!/usr/bin/env bash
# quorvelctl's bash completion, as bash-completion runs it on a tab:
#   completion.sh COMPLETION_FILE QUORVELCTL FACTORY_CONFIG_BIN
# The names it offers for get and set are those quorvelctl shows for the
# folder of --data, its macros included.
set -uo pipefail
completion=$1
quorvelctl=$2
factory=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion
# shellcheck disable=SC1090
source "$completion"
mkdir -p "$work/data"
cp "$factory" "$work/data/config.bin"
printf '[Copy]\nItemCount=1\nItem0=C   Dn\n' >"$work/data/record.ini"

status=0
# Completes the line (the word under the cursor is the last) and checks that
# COMPREPLY holds each expected word.
expect() {
  local line=${1/#quorvelctl/$quorvelctl}
  shift
  read -r -a COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE=$line
  COMP_POINT=${#line}
  COMPREPLY=()
  _quorvelctl
  local word
  for word in "$@"; do
    if ! printf '%s\n' "${COMPREPLY[@]}" | grep -qxF -- "$word"; then
      echo "completion: '$line' does not offer '$word' (offers: ${COMPREPLY[*]})" >&2
      status=1
    fi
  done
}

expect "quorvelctl s" show set
expect "quorvelctl --" --data --sensor-type
expect "quorvelctl --data $work/data get rep" report-rate
expect "quorvelctl --data $work/data set " dpi.2 button.B.12 lighting.colour.8.enabled macro.Copy.loops
expect "quorvelctl --data $work/data set report-rate " 125 1000
expect "quorvelctl --data $work/data set dpi.3.enabled o" on off
expect "quorvelctl --data $work/data macro show " Copy
expect "quorvelctl macro " list add
exit $status
