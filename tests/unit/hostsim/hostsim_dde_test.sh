#!/bin/bash
# Talks to the real hostsim.exe over DDE through hostsim_client.exe under Wine:
# replies, the command log, the dump on --quit-after and on WM_CLOSE, and the
# fault switches as the client sees them.
# Usage: hostsim_dde_test.sh WINE_RUN BIN_DIR WORK_DIR
set -u
run="$1"
bin="$2"
work="$3"
failures=0
rm -rf "$work"
mkdir -p "$work"
winwork="Z:$(echo "$work" | tr / '\\')"

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Starts hostsim with the given options; waits until it answers.
start_host() {
    timeout 90 "$run" "$bin/hostsim.exe" "$@" </dev/null >"$work/host.out" 2>&1 &
    host_pid=$!
    for _ in $(seq 1 100); do
        if timeout 20 "$run" "$bin/hostsim_client.exe" </dev/null >/dev/null 2>&1; then return 0; fi
        sleep 0.1
    done
    fail "hostsim $* did not start"
    return 1
}

# Runs the client; its output, without Wine's CRs and notices, goes to $work/got.
client() {
    timeout 60 "$run" "$bin/hostsim_client.exe" "$@" </dev/null 2>/dev/null | tr -d '\r' >"$work/got"
}

expect_output() {
    local name="$1"
    if ! diff -u "$work/want" "$work/got"; then fail "$name: replies differ"; fi
}

# Waits for the host started last and checks its exit code.
expect_exit() {
    local want="$1" name="$2" code=0
    wait "$host_pid" || code=$?
    [ "$code" = "$want" ] || fail "$name: exit code $code, expected $want"
}

# 1. Every reply ends in CR LF; --quit-after dumps and exits; --log records the texts.
if start_host --sample --log "$winwork\\log.txt" --dump "$winwork\\dump1" --quit-after 12; then
    client GetCurrentProject GetFrameCount GetNumberOfLayers "GotoFrame(3)" GetDisplayFrameNumber \
        "SelectLayer(0)" GetActiveLayerNumber GetCurrentDelay "SetCurrentDelay(-1)" "New(2,8,8)" \
        "SetCurrentFilename(knight_Marlune_1)" "GotoFrame(x)"
    cat >"$work/want" <<'TXT'
GetCurrentProject -> 1<CRLF>
GetFrameCount -> 4<CRLF>
GetNumberOfLayers -> 2<CRLF>
GotoFrame(3) -> 3<CRLF>
GetDisplayFrameNumber -> 3<CRLF>
SelectLayer(0) -> 0<CRLF>
GetActiveLayerNumber -> 0<CRLF>
GetCurrentDelay -> 100<CRLF>
SetCurrentDelay(-1) -> -1<CRLF>
New(2,8,8) -> 2<CRLF>
SetCurrentFilename(knight_Marlune_1) -> knight_Marlune_1<CRLF>
TXT
    # The 12th command ends the host before its reply can be read.
    head -n 11 "$work/got" >"$work/got11" && mv "$work/got11" "$work/got"
    expect_output "replies"
    expect_exit 0 "quit-after"
    [ "$(head -n 1 "$work/log.txt" | tr -d '\r')" = "GetCurrentProject" ] || fail "log: first line"
    [ "$(wc -l <"$work/log.txt")" = 12 ] || fail "log: $(wc -l <"$work/log.txt") lines, expected 12"
    [ "$(tail -n 1 "$work/log.txt")" = "GotoFrame(x)" ] || fail "log: last line"
    printf 'name=sample.knight.png\npath=C:\\sprites\\sample.knight.png\nframes=4\nlayers=2\nwidth=48\nheight=48\ndelays=100,120,-1,150\n' >"$work/want"
    cp "$work/dump1/p1.txt" "$work/got" 2>/dev/null || fail "dump: no p1.txt"
    expect_output "dump p1.txt"
    printf 'name=knight_Marlune_1\npath=none\nframes=2\nlayers=1\nwidth=8\nheight=8\ndelays=100,100\n' >"$work/want"
    cp "$work/dump1/p2.txt" "$work/got" 2>/dev/null || fail "dump: no p2.txt"
    expect_output "dump p2.txt"
    [ "$(ls "$work/dump1"/p1_f*_l*.bmp 2>/dev/null | wc -l)" = 8 ] || fail "dump: sample bitmaps"
fi

# 2. Faults: late completion, a hung execute, replaced and long replies without
#    line ends; then WM_CLOSE still dumps and exits cleanly.
long=$(printf 'n%.0s' $(seq 1 300))
if start_host --sample --late "GotoFrame=400" --hang SendFrame --no-crlf --reply "GetCurrentFilename=$long" \
    --dump "$winwork\\dump2"; then
    client "GotoFrame(2)" GetCurrentFilename SendFrame GetDisplayFrameNumber --close
    printf 'GotoFrame(2) -> 2\nGetCurrentFilename -> %s\nSendFrame ! timeout\nGetDisplayFrameNumber -> 2\n--close -> closed\n' \
        "$long" >"$work/want"
    expect_output "faults"
    expect_exit 0 "WM_CLOSE"
    [ -f "$work/dump2/p1.txt" ] || fail "WM_CLOSE: no dump"
fi

# 3. Frames through the real clipboard: a sound DIB is taken back, the fault
#    forms are refused and change nothing.
for variant in "8|" "24|--dib 24" "trunc|--truncate-dib"; do
    name=${variant%%|*}
    # shellcheck disable=SC2086
    start_host --sample ${variant#*|} || continue
    client SendFrame --clipboard "New(1,48,48)" ReceiveFrame --close
    case $name in
    8) printf 'SendFrame -> 1<CRLF>\n--clipboard -> 3368 bytes, 48x48, 8 bits, image 2304\nNew(1,48,48) -> 2<CRLF>\nReceiveFrame -> 1<CRLF>\n--close -> closed\n' >"$work/want" ;;
    24) printf 'SendFrame -> 1<CRLF>\n--clipboard -> 6952 bytes, 48x48, 24 bits, image 6912\nNew(1,48,48) -> 2<CRLF>\nReceiveFrame -> ERROR: only 8bit pixels are supported!<CRLF>\n--close -> closed\n' >"$work/want" ;;
    trunc) printf 'SendFrame -> 1<CRLF>\n--clipboard -> 2216 bytes, 48x48, 8 bits, image 2304\nNew(1,48,48) -> 2<CRLF>\nReceiveFrame -> ERROR: block truncated<CRLF>\n--close -> closed\n' >"$work/want" ;;
    esac
    expect_output "clipboard $name"
    expect_exit 0 "clipboard $name"
done

# 4. Bad options: a message on stderr and exit code 2.
code=0
timeout 30 "$run" "$bin/hostsim.exe" --dib 16 </dev/null >/dev/null 2>"$work/err" || code=$?
[ "$code" = 2 ] || fail "bad option: exit code $code"
grep -q -- "--dib" "$work/err" || fail "bad option: no message"

[ "$failures" = 0 ] && echo "hostsim DDE checks passed"
exit $((failures > 0))
