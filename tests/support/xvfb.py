"""An X server of a test's own: Xvfb on the first free display number."""
import os
import subprocess


def start_xvfb(*options):
    """Starts Xvfb with the given extra options and returns (process, display
    name); the name is None when the server gave no display number."""
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x800x24", "-nolisten", "tcp", *options],
                            pass_fds=(write,), stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read, 16)
        if not chunk:
            break
        number += chunk
    os.close(read)
    return xvfb, (":" + number.decode().strip()) if number.strip() else None
