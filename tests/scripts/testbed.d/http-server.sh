# Sourced by testbed.sh start: the update check's test site on 127.0.0.1:18080 (the
# mingw preset's site address), answered as the end-to-end tests set it. The 32-bit
# prefix's test bed asks no site, and runs beside this one: it leaves the port alone.
[ "$WINEARCH" = win32 ] && return 0
http_port=18080
python3 "$here/http_server.py" "$http_port" </dev/null >"$testbed/http.log" 2>&1 &
echo $! >"$testbed/http.pid"
for _ in $(seq 1 50); do
    kill -0 "$(cat "$testbed/http.pid")" 2>/dev/null || break
    (exec 3<>"/dev/tcp/127.0.0.1/$http_port") 2>/dev/null && break
    sleep 0.1
done
# Another test bed's site on the same port would answer in its place: refuse to go on.
if ! kill -0 "$(cat "$testbed/http.pid")" 2>/dev/null; then
    echo "the test site could not start on 127.0.0.1:$http_port:" >&2
    cat "$testbed/http.log" >&2
    rm -f "$testbed/http.pid"
    exit 1
fi
