#!/usr/bin/env bash
# Runs one command beside a private CUPS server whose default printer writes to $QUORVEX_PDF_OUT.
set -u
[ $# -gt 0 ] || { echo "usage: run_with_cups.sh COMMAND..." >&2; exit 2; }

root=$(mktemp -d /tmp/quorvex-cups.XXXXXX)
chmod 755 "$root" # the filters run as an unprivileged user and read the configuration from here
mkdir -p "$root"/{spool,cache,state,tmp,logs,out}
chmod 1777 "$root/tmp" "$root/out"
cupsd_pid=
cleanup() {
    [ -n "$cupsd_pid" ] && kill "$cupsd_pid" 2>/dev/null && wait "$cupsd_pid" 2>/dev/null
    rm -rf "$root"
}
trap cleanup EXIT

cat >"$root/cupsd.conf" <<EOF
Listen $root/cups.sock
WebInterface No
Browsing No
LogLevel warn
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
cat >"$root/cups-files.conf" <<EOF
ServerRoot $root
RequestRoot $root/spool
CacheDir $root/cache
StateDir $root/state
TempDir $root/tmp
AccessLog $root/logs/access_log
ErrorLog $root/logs/error_log
PageLog $root/logs/page_log
FileDevice Yes
Sandboxing Relaxed
EOF

cupsd -f -c "$root/cupsd.conf" -s "$root/cups-files.conf" &
cupsd_pid=$!
export CUPS_SERVER="$root/cups.sock"
timeout 10 bash -c "until lpstat -r 2>/dev/null | grep -q 'is running'; do sleep 0.05; done" \
    || { echo "run_with_cups.sh: cupsd did not start" >&2; exit 1; }

export QUORVEX_PDF_OUT="$root/out/page.pdf"
lpadmin -p QuorvexPDF -v "file://$QUORVEX_PDF_OUT" -E -P /usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd 2>"$root/logs/lpadmin" \
    && lpadmin -d QuorvexPDF \
    || { echo "run_with_cups.sh: could not add the PDF printer" >&2; exit 1; }

"$@"
