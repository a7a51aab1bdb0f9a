// Gathers the licences of what the Windows program ships besides Veltrax
// itself into one folder: Qt (LGPLv3, and the GPLv3 it builds on), the
// third-party code compiled into the Qt libraries that are shipped, as Qt's
// own attribution files list it, the GCC run-time (GPLv3 with the GCC Runtime
// Library Exception) and the MinGW-w64 run-time with winpthreads; and a
// notice of where the exact Qt sources come from.
// Usage: node windows-licenses.mjs QT_SOURCE QT_REVISION OUTPUT_FOLDER
import { existsSync, mkdirSync, readFileSync, readdirSync, statSync, writeFileSync } from "node:fs";
import { dirname, join, relative } from "node:path";

const [source, revision, output] = process.argv.slice(2);
if (!source || !revision || !output) {
  console.error("usage: node windows-licenses.mjs QT_SOURCE QT_REVISION OUTPUT_FOLDER");
  process.exit(2);
}
mkdirSync(output, { recursive: true });
const crlf = (text) => text.replace(/\r?\n/g, "\r\n");
const write = (name, text) => writeFileSync(join(output, name), crlf(text));

// The parts of qtbase built into Qt6Core, Qt6Gui, Qt6Widgets and the Windows
// platform and style plugins; the rest (network, D-Bus, other platforms, the
// image format plugins) is not shipped.
const shipped = [
  "src/corelib", "src/gui/text", "src/gui/painting", "src/widgets", "src/plugins/platforms/windows",
  "src/plugins/styles", "src/3rdparty/freetype", "src/3rdparty/harfbuzz-ng", "src/3rdparty/pcre2",
  "src/3rdparty/zlib", "src/3rdparty/libpng", "src/3rdparty/md4c", "src/3rdparty/double-conversion",
  "src/3rdparty/tinycbor", "src/3rdparty/easing", "src/3rdparty/icc", "src/3rdparty/sha1", "src/3rdparty/sha3",
  "src/3rdparty/rfc6234", "src/3rdparty/md4", "src/3rdparty/md5", "src/3rdparty/blake2", "src/3rdparty/pixman",
];

function attributionFiles(folder) {
  const found = [];
  if (!existsSync(folder)) return found;
  for (const name of readdirSync(folder)) {
    const path = join(folder, name);
    if (statSync(path).isDirectory()) found.push(...attributionFiles(path));
    else if (name === "qt_attribution.json") found.push(path);
  }
  return found;
}

// Qt's attribution files allow line breaks inside strings and repeated keys.
function parseLenient(text) {
  let out = "";
  let inString = false;
  for (let i = 0; i < text.length; ++i) {
    const c = text[i];
    if (inString && c === "\\") {
      out += c + text[++i];
      continue;
    }
    if (c === '"') inString = !inString;
    out += inString && c === "\n" ? "\\n" : c;
  }
  const parsed = JSON.parse(out);
  return Array.isArray(parsed) ? parsed : [parsed];
}

const components = [];
for (const part of shipped) {
  for (const file of attributionFiles(join(source, part))) {
    for (const entry of parseLenient(readFileSync(file, "utf8"))) {
      const licenseFiles = [].concat(entry.LicenseFile ?? []);
      const texts = licenseFiles
        .map((name) => join(dirname(file), name))
        .filter((path) => existsSync(path))
        .map((path) => `----- ${relative(source, path)} -----\n\n${readFileSync(path, "utf8")}`);
      const name = `Qt-${entry.Id}.txt`;
      write(name, [
        `${entry.Name}${entry.Version ? ` ${entry.Version}` : ""}`,
        `Used in Qt: ${entry.QtUsage ?? ""}`,
        `Licence: ${entry.License ?? ""}`,
        "",
        entry.Copyright ?? "",
        "",
        ...texts,
      ].join("\n"));
      components.push(`  ${name.padEnd(40)} ${entry.Name}: ${entry.License ?? ""}`);
    }
  }
}

const common = "/usr/share/common-licenses";
write("LGPL-3.0.txt", readFileSync(join(common, "LGPL-3"), "utf8"));
write("GPL-3.0.txt", readFileSync(join(common, "GPL-3"), "utf8"));
const gcc = readFileSync("/usr/share/doc/g++-mingw-w64-x86-64-posix/copyright", "utf8");
const exceptionStart = gcc.indexOf("GCC RUNTIME LIBRARY EXCEPTION");
const exceptionEnd = gcc.indexOf("requirements of the license of GCC.", exceptionStart);
if (exceptionStart < 0 || exceptionEnd < 0) throw new Error("the GCC Runtime Library Exception was not found");
write("GCC-runtime.txt", "libstdc++-6.dll and libgcc_s_seh-1.dll: the GCC run-time libraries, under the GNU\n" +
  "General Public License version 3 (GPL-3.0.txt) with the GCC Runtime Library Exception:\n\n" +
  gcc.slice(exceptionStart, exceptionEnd + "requirements of the license of GCC.".length) + "\n");
write("MinGW-w64-runtime.txt", "libwinpthread-1.dll (winpthreads) and the MinGW-w64 run-time: their licences as\n" +
  "Debian's mingw-w64 packages state them (winpthreads: expat, with BSD-3-clause parts):\n\n" +
  readFileSync("/usr/share/doc/mingw-w64-common/copyright", "utf8"));

write("README.txt", `Licences of what Veltrax for Windows ships besides itself
=========================================================

Veltrax itself: see copyright.txt beside the program.

Qt 6.4.2 (Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll, platforms\\qwindows.dll,
styles\\qwindowsvistastyle.dll, translations\\qtbase_ru.qm) is used under the
GNU Lesser General Public License version 3 (LGPL-3.0.txt), which builds on
the GNU General Public License version 3 (GPL-3.0.txt).

The Qt libraries were built, unchanged, from Debian's source package
qt6-base ${revision}, which anyone can get from Debian's archive
(for instance: apt-get source qt6-base=${revision}), with the build
options in scripts/build-qt-windows.sh of Veltrax's source. You may replace
the Qt libraries beside veltrax.exe with your own builds of the same Qt
version: Veltrax loads them from its folder.

Third-party code compiled into the shipped Qt libraries, as Qt's attribution
files list it:
${components.join("\n")}

The GCC run-time (libstdc++-6.dll, libgcc_s_seh-1.dll): GCC-runtime.txt.
The MinGW-w64 run-time and winpthreads (libwinpthread-1.dll): MinGW-w64-runtime.txt.
`);
console.log(`${output}: ${components.length} Qt components`);
