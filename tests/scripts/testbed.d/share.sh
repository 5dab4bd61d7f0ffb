# Sourced by testbed.sh start: Wine's share \\localhost\tmp is /tmp. It holds help files
# on a share for the Favorites tests, and for the pages' tests a folder whose address is
# the same in Wine (\\localhost\tmp\...) and in a Linux browser (file://localhost/tmp/...).
mkdir -p "$WINEPREFIX/dosdevices/unc/localhost"
ln -sfn /tmp "$WINEPREFIX/dosdevices/unc/localhost/tmp"
