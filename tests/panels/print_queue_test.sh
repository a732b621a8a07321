#!/usr/bin/env bash
# Prints a page through the viewer on a real CUPS queue whose PDF printer is the default, then
# checks that the page image is in the printed file, at full resolution, at the size and in the
# orientation the confirmation announced, in portrait and with the queue set to landscape. Usage: print_queue_test.sh PROBE. It fails, never skips, when the
# queue cannot be set up (scripts/setup.sh installs what it needs).
set -euo pipefail

probe=$1
queue=CartavoxTestPDF
config=/etc/cups/cups-pdf-cartavox-test.conf

fail() {
    echo "print_queue: $*" >&2
    exit 1
}

for tool in cupsd lpadmin lpoptions lpstat pdfimages pdfinfo pdftoppm; do
    command -v "$tool" >/dev/null || fail "$tool is missing"
done
[[ -e /usr/lib/cups/backend/cups-pdf ]] || fail "the cups-pdf backend is missing"
[[ -e /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd ]] || fail "the CUPS-PDF printer description is missing"

work=$(mktemp -d)
cupsd_pid=""
previous_default=""
user_options="${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}/.cups/lpoptions"
[[ -f $user_options ]] && cp "$user_options" "$work/lpoptions.saved"

cleanup() {
    set +e
    lpoptions -x "$queue" 2>/dev/null || true
    lpadmin -x "$queue" 2>/dev/null || true
    rm -f "$config"
    [[ -n $previous_default ]] && lpadmin -d "$previous_default" 2>/dev/null
    if [[ -f $work/lpoptions.saved ]]; then
        cp "$work/lpoptions.saved" "$user_options"
    else
        rm -f "$user_options"
    fi
    if [[ -n $cupsd_pid ]]; then
        kill "$cupsd_pid" 2>/dev/null || true
        wait "$cupsd_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

scheduler_running() { lpstat -r 2>/dev/null | grep -q '^scheduler is running'; }

# The scheduler: the system's own if it runs, otherwise one started here and stopped at the end.
if ! scheduler_running; then
    cupsd -f >"$work/cupsd.log" 2>&1 &
    cupsd_pid=$!
    for _ in $(seq 50); do
        scheduler_running && break
        kill -0 "$cupsd_pid" 2>/dev/null || fail "cupsd stopped: $(cat "$work/cupsd.log")"
        sleep 0.2
    done
    scheduler_running || fail "the CUPS scheduler does not answer"
fi

# The PDF printer writes into this test's own folder.
mkdir -p "$work/out"
printf 'Out %s\nLabel 1\n' "$work/out" >"$config"
previous_default=$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')
lpadmin -p "$queue" -v "cups-pdf:/cartavox-test" -m lsb/usr/cups-pdf/CUPS-PDF_noopt.ppd -E \
    2>"$work/lpadmin.log" || fail "cannot create the queue: $(cat "$work/lpadmin.log")"
lpadmin -d "$queue" || fail "cannot make $queue the default printer"
lpoptions -d "$queue" >/dev/null || fail "cannot make $queue the default printer"

# Prints once with the queue's options as they are, then once with landscape set as a reader
# sets it (lpoptions): the confirmation must name the orientation, and the page come out so.
print_once() {
    local expected=$1
    rm -rf "$work/out"/*
    report="$work/report.txt"
    env -u PRINTER -u LPDEST CARTAVOX_PRINT_REPORT="$report" QT_QPA_PLATFORM=offscreen \
        "$probe" || fail "the viewer did not print"
    read -r width_mm height_mm width_px height_px orientation <"$report"
    echo "announced: $orientation, $width_mm x $height_mm mm, scan $width_px x $height_px pixels"
    [[ $orientation == "$expected" ]] || fail "the confirmation says $orientation, not $expected"

    pdf=""
    for _ in $(seq 150); do
        pdf=$(find "$work/out" -name '*.pdf' -size +0 | head -n 1)
        [[ -n $pdf ]] && ! lpstat -o "$queue" 2>/dev/null | grep -q . && break
        sleep 0.2
    done
    [[ -n $pdf ]] || fail "no printed file in $work/out; jobs: $(lpstat -W all -o "$queue" 2>&1)"
    pdfinfo "$pdf" | grep -E '^(Pages|Page size)'
    [[ $(pdfinfo "$pdf" | sed -n 's/^Pages: *//p') == 1 ]] || fail "the print is not one page"
    # The sheet comes out portrait either way; printed across it, the upright scan lies on its
    # side: what is printed is wider than tall.
    pdftoppm -r 20 -gray -png -singlefile "$pdf" "$work/page"
    local printed
    printed=$(/usr/bin/python3 -c '
import sys
from PIL import Image
box = Image.open(sys.argv[1]).point(lambda v: 255 if v < 245 else 0).getbbox()
print("ORIZZONTALE" if box[2] - box[0] > box[3] - box[1] else "VERTICALE")' "$work/page.png")
    [[ $printed == "$expected" ]] || fail "the page was printed $printed, not $expected"

    # The page image at full resolution, and its printed size from its resolution on the page.
    pdfimages -list "$pdf" | tee "$work/images.txt"
    awk -v wpx="$width_px" -v hpx="$height_px" -v wmm="$width_mm" -v hmm="$height_mm" '
        NR > 2 && $3 == "image" && $4 == wpx && $5 == hpx {
            found = 1
            w = wpx / $13 * 25.4; h = hpx / $14 * 25.4
            printf "printed: %.1f x %.1f mm\n", w, h
            # The resolution in the list is rounded to whole dots per inch.
            if (w < wmm - 1 || w > wmm + 1 || h < hmm - 1 || h > hmm + 1) bad = 1
        }
        END {
            if (!found) { print "the page image is not in the print at " wpx " x " hpx; exit 1 }
            if (bad) { print "the page image is not printed at " wmm " x " hmm " mm"; exit 1 }
        }' "$work/images.txt" || fail "wrong print"
    echo "print_queue: the page came out $expected at $width_mm x $height_mm mm"
}

lpoptions -x "$queue" >/dev/null 2>&1 || true # no option left from an earlier run
print_once VERTICALE
lpoptions -p "$queue" -o orientation-requested=4 >/dev/null || fail "cannot set landscape"
print_once ORIZZONTALE
