# Sourced by testbed.sh start: the update check's test site on 127.0.0.1:18080 (the
# mingw preset's site address), answered as the end-to-end tests set it, and on https on
# 18443 with a certificate from a test authority made anew here, which only a test trusts,
# in this prefix and while it runs (TrustedTestAuthority). The 32-bit prefix's test bed
# asks no site, and runs beside this one: it leaves the ports alone.
[ "$WINEARCH" = win32 ] && return 0
http_port=18080
site="$testbed/site"
mkdir -p "$site" "$WINEPREFIX/drive_c/testsite"
# Wine matches the host name against the certificate's DNS names only: the address is one.
{ openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj "/CN=Varnholt test authority" \
    -keyout "$site/authority.key" -out "$site/authority.pem" &&
    openssl req -x509 -CA "$site/authority.pem" -CAkey "$site/authority.key" -newkey rsa:2048 \
        -nodes -days 30 -subj "/CN=127.0.0.1" -addext "basicConstraints=CA:FALSE" \
        -addext "subjectAltName=DNS:127.0.0.1,IP:127.0.0.1" -keyout "$site/site.key" \
        -out "$site/site.pem" &&
    openssl x509 -in "$site/authority.pem" -outform der -out "$WINEPREFIX/drive_c/testsite/authority.cer"
} >"$site/openssl.log" 2>&1 || { cat "$site/openssl.log" >&2; exit 1; }
python3 "$here/http_server.py" "$http_port" 18443 "$site/site.pem" "$site/site.key" \
    </dev/null >"$testbed/http.log" 2>&1 &
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
