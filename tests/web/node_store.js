// Under node the core's element-file layer for the browser keeps its table in
// real files, so that the core's tests run unchanged: the store's three calls
// answer from the file system.

(() => {
const files = require("fs");

function stampOf(info) {
  return {
    size: Number(info.size),
    device: Number(info.dev),
    inode: Number(info.ino),
    modified: Number(info.mtimeNs),
    changed: Number(info.ctimeNs),
  };
}

function missing(path) {
  try {
    files.lstatSync(path);
    return false;
  } catch (error) {
    return error.code === "ENOENT";
  }
}

Module.veltraxStore = {
  look(path) {
    try {
      const info = files.statSync(path, { bigint: true });
      return info.isFile() ? stampOf(info) : false;
    } catch (error) {
      return missing(path) ? null : false;
    }
  },
  read(path, maxBytes) {
    let fd;
    try {
      fd = files.openSync(path, files.constants.O_RDONLY | files.constants.O_NONBLOCK);
    } catch (error) {
      return missing(path) ? null : false;
    }
    try {
      // The end of the current millisecond: never before the file's last change.
      const readAt = (Date.now() + 1) * 1e6;
      const info = files.fstatSync(fd, { bigint: true });
      if (!info.isFile()) return false;
      const buffer = Buffer.alloc(Math.min(maxBytes, Number(info.size)));
      let length = 0;
      while (length < buffer.length) {
        const read = files.readSync(fd, buffer, length, buffer.length - length, length);
        if (read === 0) break;
        length += read;
      }
      return { stamp: stampOf(info), bytes: buffer.subarray(0, length).toString("latin1"), readAt };
    } catch (error) {
      return false;
    } finally {
      files.closeSync(fd);
    }
  },
  create(path, bytes) {
    try {
      files.writeFileSync(path, Buffer.from(bytes, "latin1"), { flag: "wx" });
      return "created";
    } catch (error) {
      return error.code === "EEXIST" ? "existed" : "failed";
    }
  },
};
})();
