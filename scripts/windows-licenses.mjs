// Gathers the licences of what the Windows program ships besides Veltrax
// itself into one folder: Qt (LGPLv3, and the GPLv3 it builds on), the
// third-party code that is compiled into the shipped Qt libraries (found in
// the Qt build's own record of every file each object was compiled from),
// the GCC run-time (GPLv3 with the GCC Runtime Library
// Exception) and the MinGW-w64 run-time with winpthreads; the exact configure
// command, the toolchain file and the build script; and the notice of which
// source files travel with the program.
// Usage: node windows-licenses.mjs QT_BUILD_FOLDER VELTRAX_SOURCE OUTPUT_FOLDER
//   QT_BUILD_FOLDER is the folder scripts/build-qt-windows.sh worked in.
import { copyFileSync, existsSync, mkdirSync, readFileSync, readdirSync, statSync, writeFileSync } from "node:fs";
import { execFileSync } from "node:child_process";
import { dirname, join, relative, resolve } from "node:path";

const [work, veltrax, output] = process.argv.slice(2);
if (!work || !veltrax || !output) {
  console.error("usage: node windows-licenses.mjs QT_BUILD_FOLDER VELTRAX_SOURCE OUTPUT_FOLDER");
  process.exit(2);
}
const source = join(work, "source");
const qtVersion = readFileSync(join(veltrax, "packaging", "windows", "qt.env"), "utf8").match(/^QT_VERSION=(.*)$/m)[1];
const revision = readFileSync(join(work, "revision"), "utf8").trim();
const version = readFileSync(join(veltrax, "CMakeLists.txt"), "utf8").match(/^project\(Veltrax VERSION ([0-9.]+)/m)[1];
// The files of the source package, which make-dist.sh puts into source/.
const sourceFiles = readdirSync(join(work, "files")).filter((name) => name.startsWith("qt6-base_")).sort();
if (sourceFiles.length < 3) throw new Error(`the source package of Qt is incomplete: ${sourceFiles.join(", ")}`);
mkdirSync(output, { recursive: true });
const crlf = (text) => text.replace(/\r?\n/g, "\r\n");
const write = (name, text) => writeFileSync(join(output, name), crlf(text));

// The targets whose code ends up in the shipped files: Qt6Core.dll,
// Qt6Gui.dll, Qt6Widgets.dll, platforms\qwindows.dll, styles\qwindowsvistastyle.dll,
// and the bundled libraries linked into them.
const shippedTargets = /^(Core|Gui|Widgets|QWindowsIntegrationPlugin|QWindowsVistaStylePlugin|Bundled[A-Za-z0-9]+)\.dir$/;
const compiledFrom = new Set();
const deps = execFileSync("ninja", ["-C", join(work, "build"), "-t", "deps"], { maxBuffer: 1 << 30 }).toString();
let shippedObject = false;
for (const line of deps.split("\n")) {
  if (line && !line.startsWith(" ")) {
    const target = line.split(":")[0].split("/").find((part) => part.endsWith(".dir")) ?? "";
    shippedObject = shippedTargets.test(target);
  } else if (shippedObject && line.trim()) {
    const path = resolve(join(work, "build"), line.trim());
    if (path.startsWith(source + "/")) compiledFrom.add(relative(source, path));
  }
}
if (compiledFrom.size === 0) throw new Error("the Qt build records no compiled files: was it built?");
// A component counts where a file it names (or, naming none, any file of its
// folder) is among what was compiled: a named folder counts by its files.
const compiledUnder = (folder, files) => {
  const under = (prefix) => {
    for (const path of compiledFrom) if (path.startsWith(prefix + "/")) return true;
    return false;
  };
  if (files.length === 0) return under(folder);
  return files.some((file) => compiledFrom.has(join(folder, file)) || under(join(folder, file)));
};

function attributionFiles(folder) {
  const found = [];
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
for (const file of attributionFiles(join(source, "src"))) {
  const folder = relative(source, dirname(file));
  for (const entry of parseLenient(readFileSync(file, "utf8"))) {
    const files = [].concat(entry.Files ?? entry.Path ?? []).flatMap((names) => String(names).split(/\s+/))
      .filter(Boolean);
    if (!compiledUnder(folder, files)) continue;
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
components.sort();

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

// How Qt was built, exactly, and with what.
const configure = readFileSync(join(work, "configure-command.txt"), "utf8");
write("Qt-configure-command.txt", `Qt for Windows was configured with this command (folders shortened), then\n` +
  `built with "cmake --build" and installed with "cmake --install":\n\n${configure}\n`);
copyFileSync(join(veltrax, "cmake", "mingw-w64-x86_64.cmake"), join(output, "mingw-w64-x86_64.cmake"));
copyFileSync(join(veltrax, "scripts", "build-qt-windows.sh"), join(output, "build-qt-windows.sh"));
const freetypeCredit = "Portions of this software are copyright © 2022 The FreeType Project (www.freetype.org).\n" +
  "All rights reserved.";
const hasFreetype = components.some((line) => /freetype/i.test(line));
write("README.txt", `Licences of what Veltrax for Windows ships besides itself
=========================================================

Veltrax itself: see copyright.txt beside the program (the Expat/MIT licence).

Qt ${qtVersion} (Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll, platforms\\qwindows.dll,
styles\\qwindowsvistastyle.dll) is used under the GNU Lesser General Public
License version 3 (LGPL-3.0.txt), which builds on the GNU General Public
License version 3 (GPL-3.0.txt). The Russian texts of Qt's context menus and
buttons are Veltrax's own translation, compiled into veltrax.exe.

Corresponding Source
--------------------
The Qt libraries were built from Debian's source package qt6-base
${revision}, with Debian's patches applied (the tree that
"dpkg-source -x qt6-base_${revision.replace(/^\d+:/, "")}.dsc" unpacks), for 64-bit
Windows with MinGW-w64: the exact configure command is in
Qt-configure-command.txt, the toolchain file is mingw-w64-x86_64.cmake and the
whole build is build-qt-windows.sh, all in this folder. Nothing else was
changed. The source package itself travels with the program: every release
of Veltrax for Windows (the zip, the MSI and setup.exe) is published together
with a folder "source" that holds these files:

${sourceFiles.map((name) => `  ${name}`).join("\n")}
  veltrax-${version}.tar.gz (Veltrax's own source, build scripts included)

If you pass this program on to others, pass that folder on with it, or
together with it, in the same way.

You may replace the Qt libraries beside veltrax.exe with your own builds of
the same Qt version: Veltrax loads them from its folder.

Third-party code compiled into the shipped Qt libraries (as the Qt build
records what each library was compiled from), with Qt's attribution:
${components.join("\n")}
${hasFreetype ? `\n${freetypeCredit}\n` : ""}
The GCC run-time (libstdc++-6.dll, libgcc_s_seh-1.dll): GCC-runtime.txt.
The MinGW-w64 run-time and winpthreads (libwinpthread-1.dll): MinGW-w64-runtime.txt.
`);
console.log(`${output}: ${components.length} Qt components`);
