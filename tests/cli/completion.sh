#!/usr/bin/env bash
# bash completion of tessaron-ctl: its commands, the files --file names, and
# the sections and keys of a share's file. Arguments: the completion script,
# tessaron-ctl, a share.
set -u
script=$1 ctl=$2 share=$3
source "$script"
failed=0
# expect WANTED WORDS...: completing the last of WORDS offers WANTED (blank-separated).
expect() {
  local wanted=$1; shift
  COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMPREPLY=()
  _tessaron_ctl 2>/dev/null
  local got="${COMPREPLY[*]}"
  if [ "$got" != "$wanted" ]; then
    echo "completing '$*' offered '$got', not '$wanted'"
    failed=1
  fi
}
expect "set" "$ctl" se
expect "describe drives diff discover" "$ctl" d
expect "IP" "$ctl" get "$share" I
expect "NetMask" "$ctl" get "$share" IP Net
expect "SCSI SMB SNMP Server" "$ctl" set "$share" IP NetMask 255.0.0.0 S
expect "ID2_LUN0 ID3_LUN0 ID_2 ID_3" "$ctl" get --file scsi "$share" ID
expect "scsi" "$ctl" get --file s
expect "--file" "$ctl" describe "$share" --fi
exit $failed
