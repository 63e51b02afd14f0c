#!/usr/bin/env bash
# Sets up a print queue that turns every job into a PDF file (CUPS with the cups-pdf back
# end), so File > Print and "Print dialog ..." can be tried on a real queue without a
# printer. Debian 12, run as root. Nothing else depends on it: the tests print to PDF files.
#
#   bash scripts/cups-pdf-queue.sh [--queue NAME] [--out DIR] [--test FILE.pdf]
#
# --queue  the queue's name (VelmoraPDF); it becomes the default printer
# --out    where the queue writes its PDF files (/var/spool/cups-pdf/<user>)
# --test   prints FILE.pdf through the new queue and waits for the result
set -euo pipefail

queue=VelmoraPDF
out='/var/spool/cups-pdf/${USER}'
test_file=
while [ $# -gt 0 ]; do
  case "$1" in
    --queue) queue="$2"; shift 2 ;;
    --out) out="$2"; shift 2 ;;
    --test) test_file="$2"; shift 2 ;;
    *) echo "usage: $0 [--queue NAME] [--out DIR] [--test FILE.pdf]" >&2; exit 2 ;;
  esac
done

if [ "$(id -u)" -ne 0 ]; then
  echo "Run as root: the script installs packages and adds a printer." >&2
  exit 1
fi

packages=(cups printer-driver-cups-pdf)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Where cups-pdf writes; ${USER} is the user who printed, filled in by cups-pdf itself.
config=/etc/cups/cups-pdf.conf
if grep -q '^Out ' "$config"; then
  sed -i "s|^Out .*|Out ${out}|" "$config"
else
  echo "Out ${out}" >> "$config"
fi

# The scheduler: a service where there is one, the daemon itself in a container without one.
if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
  service cups start >/dev/null 2>&1 || cupsd
  for _ in $(seq 1 50); do
    lpstat -r 2>/dev/null | grep -q 'is running' && break
    sleep 0.1
  done
fi
lpstat -r | grep -q 'is running' || { echo "The CUPS scheduler did not start." >&2; exit 1; }

ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd" -D "PDF files (cups-pdf)"
lpadmin -d "$queue"
echo "Queue $queue is ready and is the default printer; its PDF files go to ${out}."

if [ -n "$test_file" ]; then
  job=$(lp -d "$queue" "$test_file" | sed -n 's/^request id is \([^ ]*\).*/\1/p')
  for _ in $(seq 1 100); do
    lpstat -W not-completed -o "$queue" 2>/dev/null | grep -q "^$job " || break
    sleep 0.2
  done
  echo "Printed $test_file as job $job."
fi
