# Sourced by the demo and the benchmark: a cupsd of their own in folder $1, listening only on a
# socket there, with the scheduler's pid appended to PIDS and CUPS_SERVER exported. Extra
# cupsd.conf lines may follow as further arguments.
start_private_cups() {
  local C="$1"; shift
  mkdir -p "$C"/{tmp,cache,state,log,spool,ppd,out}
  chmod 755 "$C" "$C"/*; chmod 1777 "$C/tmp"; chmod 777 "$C/out"
  cat >"$C/cups-files.conf" <<CONF
ServerRoot $C
RequestRoot $C/spool
TempDir $C/tmp
CacheDir $C/cache
StateDir $C/state
ErrorLog $C/log/error_log
AccessLog $C/log/access_log
PageLog $C/log/page_log
Printcap $C/printcap
FileDevice Yes
SystemGroup root
CONF
  {
    echo "Listen $C/cups.sock"
    echo "Browsing No"
    echo "WebInterface No"
    local line
    for line in "$@"; do echo "$line"; done
    printf '<Location />\n  Order allow,deny\n  Allow localhost\n</Location>\n'
  } >"$C/cupsd.conf"
  cupsd -f -c "$C/cupsd.conf" -s "$C/cups-files.conf" & PIDS+=($!)
  export CUPS_SERVER="$C/cups.sock"
  for _ in $(seq 200); do
    lpstat -h "$CUPS_SERVER" -r 2>/dev/null | grep -q "is running" && return 0
    sleep 0.05
  done
  return 1
}
