# Sourced by the test and benchmark scripts: a private Xvfb on a display number nobody uses,
# killed by its process id when the script leaves, with sound going to OpenAL's null output,
# so that neither a display nor a sound card is needed.
display=90
while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do
    display=$((display + 1))
done
Xvfb :$display -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
trap 'kill $XVFB_PID 2>/dev/null || true' EXIT INT TERM
for _ in $(seq 50); do
    [ -e /tmp/.X11-unix/X$display ] && break
    sleep 0.1
done
export DISPLAY=:$display ALSOFT_DRIVERS=null
