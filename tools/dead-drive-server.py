#!/usr/bin/python3
"""A network share that can stop answering, for tools/dead-drive-demo.

Usage: dead-drive-server.py MOUNT_POINT SOURCE FREEZE_FILE

Mounts an empty file system of the type fuse.sshfs at MOUNT_POINT, named SOURCE in the mount
table, and serves it in the foreground. While FREEZE_FILE exists, every request waits, the way a
share does whose server has gone: the caller stays in the kernel until the file is removed.
"""

import errno
import os
import sys
import time

try:
    from fusepy import FUSE, FuseOSError, Operations  # the module's name in Debian's package
except ImportError:
    from fuse import FUSE, FuseOSError, Operations


class FreezableShare(Operations):
    def __init__(self, freeze_file):
        self.freeze_file = freeze_file
        self.started = time.time()

    def _wait_while_frozen(self):
        while os.path.exists(self.freeze_file):
            time.sleep(0.05)

    def getattr(self, path, fh=None):
        self._wait_while_frozen()
        if path != "/":
            raise FuseOSError(errno.ENOENT)
        t = self.started
        return {"st_mode": 0o40755, "st_nlink": 2, "st_size": 0,
                "st_atime": t, "st_mtime": t, "st_ctime": t}

    def readdir(self, path, fh):
        self._wait_while_frozen()
        return [".", ".."]

    def statfs(self, path):
        self._wait_while_frozen()
        blocks = 25 * 1024 * 1024  # 100 GiB of 4 KiB blocks, two fifths free
        return {"f_bsize": 4096, "f_frsize": 4096, "f_blocks": blocks,
                "f_bfree": blocks * 2 // 5, "f_bavail": blocks * 2 // 5,
                "f_files": 1000, "f_ffree": 900, "f_namemax": 255}


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    mount_point, source, freeze_file = sys.argv[1:]
    FUSE(FreezableShare(freeze_file), mount_point, foreground=True, fsname=source,
         subtype="sshfs", attr_timeout=0, entry_timeout=0)


if __name__ == "__main__":
    main()
