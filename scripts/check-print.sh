#!/usr/bin/env bash
# Checks printing through the real spooler: starts a CUPS scheduler of its own
# (its own configuration, spool and socket in a scratch folder; the system's
# is not touched) with a cups-pdf queue, prints the speed dial and both call
# lists from the window (the real kelvora on Xvfb, driven by the end-to-end
# test Printing.*) and from kelvoractl, once on A4 and once on Letter with
# half-inch margins, reads the PDFs back with pdftotext and fails on any line
# that is missing, changed (an umlaut or a digit lost) or wrapped.  Then opens
# the call lists' sheets (kelvoractl calls --sheet) with LibreOffice, told
# only the separator and the language, and reads the cells back: dates are
# dates, the charges add up to what the file says, numbers keep their 0.
# Needs root for apt-get; a few minutes.  Run before every release.
#
#   scripts/check-print.sh            SHEET=no leaves out the LibreOffice part
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
py=/usr/bin/python3 # Debian's, which has python3-openpyxl

pkgs=(cups cups-bsd cups-filters printer-driver-cups-pdf poppler-utils ghostscript xvfb xdotool)
[ "${SHEET:-yes}" = no ] || pkgs+=(libreoffice-calc-nogui python3-openpyxl)
. scripts/packages.sh
install_missing "${pkgs[@]}"
scripts/deps.sh >/dev/null
cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target kelvora kelvoractl pbxsim test_e2e

work=$(mktemp -d /tmp/kelvora-print-check.XXXXXX)
queue=kelvora-check-$$
pdfconf=/etc/cups/cups-pdf-$queue.conf # cups-pdf reads its settings from there only
cupsd_pid=
cleanup() {
  [ -n "$cupsd_pid" ] && kill "$cupsd_pid" 2>/dev/null && wait "$cupsd_pid" 2>/dev/null
  rm -f "$pdfconf"
  [ "${KEEP:-no}" = yes ] && echo "kept $work" || rm -rf "$work"
  return 0
}
trap cleanup EXIT

mkdir -p "$work"/{conf,spool,cache,state,log,pdf,tmp}
# The filters run as lp.
chmod 755 "$work"
chmod 1777 "$work/pdf" "$work/tmp"
cat >"$work/conf/cupsd.conf" <<EOF
Listen $work/cups.sock
LogLevel warn
WebInterface No
Browsing No
DefaultAuthType None
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
cat >"$work/conf/cups-files.conf" <<EOF
ServerRoot $work/conf
RequestRoot $work/spool
CacheDir $work/cache
StateDir $work/state
TempDir $work/tmp
ErrorLog $work/log/error_log
AccessLog $work/log/access_log
PageLog $work/log/page_log
Sandboxing Relaxed
EOF
# Every PDF named after its job number, all in our folder.
printf 'Out %s\nAnonDirName %s\nLabel 2\nUserUMask 0000\n' "$work/pdf" "$work/pdf" >"$pdfconf"
cupsd -f -c "$work/conf/cupsd.conf" -s "$work/conf/cups-files.conf" &
cupsd_pid=$!
export CUPS_SERVER=$work/cups.sock
for _ in $(seq 50); do lpstat -r 2>/dev/null | grep -q 'is running' && break; sleep 0.2; done
lpstat -r | grep 'is running' || { cat "$work/log/error_log"; exit 1; }
# pdftocairo keeps the text's fonts, so that pdftotext reads the letters back.
lpadmin -p "$queue" -E -v "cups-pdf:/$queue" -P /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd \
  -o pdftops-renderer-default=pdftocairo 2>/dev/null
# lpr's own variable names the queue.
export PRINTER=$queue

pdfs() { ls "$work/pdf" | grep -c '\.pdf$' || true; }
# Waits until there are n PDFs and no job is left: cups-pdf writes a PDF as
# its job goes, and is done with it when the job is.
wait_pdfs() {
  for _ in $(seq 600); do [ "$(pdfs)" -ge "$1" ] && [ -z "$(lpstat -o)" ] && return 0; sleep 0.2; done
  echo "only $(pdfs) of $1 printouts came out of the spooler" >&2
  tail -20 "$work/log/error_log" >&2
  exit 1
}

# Compares PDF against the text that was printed: line for line, blanks
# squeezed (pdftotext lays out columns its own way), form feeds and empty
# lines aside.  Exit 2 for a line that wraps, 1 for any other difference.
compare() {
  "$py" - "$@" <<'EOF'
import re, subprocess, sys
pdf, text, what = sys.argv[1:4]
def lines(s):
    return [re.sub(r'\s+', ' ', l).strip() for l in re.split(r'[\n\f]', s) if l.strip()]
want = lines(open(text, encoding='utf-8').read())
got = lines(subprocess.run(['pdftotext', '-layout', pdf, '-'], capture_output=True, check=True, text=True).stdout)
for i, (w, g) in enumerate(zip(want, got)):
    if w != g:
        wraps = i + 1 < len(got) and w.startswith(g) and w[len(g):].strip() == got[i + 1]
        print(f'{what}: line {i + 1} {"wraps" if wraps else "is"}\n  {g!r}\ninstead of\n  {w!r}')
        sys.exit(2 if wraps else 1)
if len(want) != len(got):
    print(f'{what}: {len(got)} lines printed instead of {len(want)}')
    sys.exit(1)
print(f'{what}: {len(got)} lines as printed')
EOF
}

printouts=(speed-dial outgoing-calls incoming-calls)
# The window needs an X server: the caller's, else one of its own.
on_x=()
[ -n "${DISPLAY:-}" ] || on_x=(xvfb-run -a -s "-screen 0 1280x1024x24")
margins="-o page-left=36 -o page-right=36 -o page-top=36 -o page-bottom=36"
status=0
done_pdfs=0
for media in A4 Letter; do
  expected=$work/expected-$media
  mkdir -p "$expected"
  echo "== window and kelvoractl on $media"
  KELVORA_PRINT_CHECK=$expected KELVORA_PRINT_COMMAND="lpr -o media=$media $margins" \
    "${on_x[@]}" "$build/tests/test_e2e" --gtest_filter='Printing.*'
  done_pdfs=$((done_pdfs + 6))
  wait_pdfs $done_pdfs
  mapfile -t got < <(ls "$work/pdf" | grep '\.pdf$' | sed 's/.*job_\([0-9]*\).*/\1 &/' | sort -n | tail -6 | cut -d' ' -f2-)
  for k in 0 1 2; do
    for from in window kelvoractl; do
      pdf=$work/pdf/${got[$([ $from = window ] && echo $k || echo $((k + 3)))]}
      size=$(pdfinfo "$pdf" | sed -n 's/^Page size: *//p')
      compare "$pdf" "$expected/$k" "$media ($size), ${printouts[k]} from the $from" || status=1
      cp "$pdf" "$work/$media-${printouts[k]}-$from.pdf"
    done
  done
done

# The check must see a wrapped line: the outgoing calls at lpr's default of
# 10 characters an inch do not fit between these margins.
lpr -o media=A4 -o cpi=10 $margins "$work/expected-A4/1"
wait_pdfs $((done_pdfs + 1))
last=$(ls "$work/pdf" | grep '\.pdf$' | sed 's/.*job_\([0-9]*\).*/\1 &/' | sort -n | tail -1 | cut -d' ' -f2-)
wrapped=0
compare "$work/pdf/$last" "$work/expected-A4/1" "at 10 characters an inch" || wrapped=$?
if [ $wrapped = 2 ]; then
  echo "(as it should: at lpr's default pitch the lines wrap, and the check sees it)"
else
  echo "the check does not see lines that wrap at 10 characters an inch" >&2
  status=1
fi

if [ "${SHEET:-yes}" != no ]; then
  echo "== the call lists' sheets in LibreOffice"
  for list in out in; do
    csv=$work/expected-A4/$list.csv
    # Told the separator and the language; the character set it takes from the byte-order mark.
    soffice --headless -env:UserInstallation=file://$work/lo \
      --infilter="Text - txt - csv (StarCalc):59,34,,1,,1031" --convert-to xlsx --outdir "$work" "$csv" >/dev/null 2>&1
    "$py" - "$csv" "$work/$list.xlsx" <<'EOF' || status=1
import csv, datetime, decimal, sys
text, book = sys.argv[1:3]
import openpyxl
rows = list(csv.reader(open(text, encoding='utf-8-sig', newline=''), delimiter=';'))
cells = [[c.value for c in r] for r in openpyxl.load_workbook(book, data_only=True).active.iter_rows()]
header = rows[0]
print(f'{text.rsplit("/", 1)[1]}: {len(cells) - 1} calls; header {cells[0]}')
for r in cells[1:4]:
    print('  ', r)
problems = []
if cells[0] != header or len(cells) != len(rows):
    problems.append('header or row count differs')
col = {name: i for i, name in enumerate(header)}
total_text = decimal.Decimal(0)
total_cells = 0.0
for n, (row, cell) in enumerate(zip(rows[1:], cells[1:]), 2):
    if row[col['Datum']] and not isinstance(cell[col['Datum']], datetime.datetime):
        problems.append(f'row {n}: date {cell[col["Datum"]]!r}')
    for name in ('Uhrzeit', 'Dauer'):
        if name in col and row[col[name]] and not isinstance(cell[col[name]], datetime.time):
            problems.append(f'row {n}: {name} {cell[col[name]]!r}')
    number = row[col['Nummer']][2:-1]
    if cell[col['Nummer']] != number:
        problems.append(f'row {n}: number {cell[col["Nummer"]]!r} instead of {number!r}')
    if (cell[col['Name']] or '') != row[col['Name']]:
        problems.append(f'row {n}: name {cell[col["Name"]]!r}')
    if 'Gebühr' in col:
        total_text += decimal.Decimal(row[col['Gebühr']].replace(',', '.'))
        if not isinstance(cell[col['Gebühr']], (int, float)):
            problems.append(f'row {n}: charge {cell[col["Gebühr"]]!r}')
        else:
            total_cells += cell[col['Gebühr']]
if 'Gebühr' in col:
    print(f'   charges add up to {total_cells:.2f} (the file says {total_text})')
    if abs(decimal.Decimal(f'{total_cells:.2f}') - total_text) != 0:
        problems.append('the charges do not add up')
umlauts = sum(1 for r in cells[1:] if any(u in (r[col['Name']] or '') for u in 'äöüÄÖÜß'))
print(f'   {umlauts} names with umlauts, every number as text with its leading 0')
for p in problems[:10]:
    print('  ', p)
sys.exit(1 if problems else 0)
EOF
  done
fi

[ $status = 0 ] && echo "printing: every line of every printout as printed" || echo "printing: FAILED"
exit $status
