// Puts the page together as one self-contained file: the HTML with its style,
// the core (its wasm inside it) and the page's modules, joined by esbuild,
// inlined. With a FOLDER it also makes the page for a web server there: the
// same page as index.html, its manifest, icons and service worker.
// Usage: node bundle.mjs CORE.js OUTPUT.html [FOLDER]
//   VELTRAX_WEB_MODULES  where npm installed web/package.json (scripts/web-modules.sh)
import { execFileSync } from "node:child_process";
import { createHash } from "node:crypto";
import { mkdirSync, readFileSync, writeFileSync, renameSync } from "node:fs";
import { createRequire } from "node:module";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";

const here = dirname(fileURLToPath(import.meta.url));
const [core, output, folder] = process.argv.slice(2);
if (!core || !output) {
  console.error("usage: node bundle.mjs CORE.js OUTPUT.html");
  process.exit(2);
}
// Inside a script element nothing may close it early.
const script = (text) => text.replace(/<\/(script)/gi, "<\\/$1").replace(/<!--/g, "<\\!--");
// The ready element tables, byte for byte: one character a byte.
const table = (name) => readFileSync(join(here, "..", "tables", name)).toString("latin1");
const tables = JSON.stringify({ school: table("NameMass-school.dat"), iupac: table("NameMass-iupac-2021.dat") });
// The six controls' places at the opening size, from the core itself (run
// here under node), for the moment before the page's own core has loaded.
const coreModule = await createRequire(import.meta.url)(resolve(core))({ veltraxStore: null, veltraxTextWidth: () => 0 });
const openingLayout = coreModule.UTF8ToString(coreModule._veltrax_opening_layout());
const modules = resolve(process.env.VELTRAX_WEB_MODULES ?? "node_modules");
const esbuild = createRequire(join(modules, "x"))("esbuild");
const { outputFiles } = esbuild.buildSync({
  entryPoints: [join(here, "page", "main.js")],
  bundle: true,
  format: "iife",
  target: "es2020",
  minify: true,
  write: false,
  legalComments: "inline",
  nodePaths: [modules],
  define: { VELTRAX_READY_TABLES: tables, VELTRAX_OPENING_LAYOUT: openingLayout },
});
const parts = {
  "/*@STYLE@*/": readFileSync(join(here, "page.css"), "utf8"),
  "/*@CORE@*/": script(readFileSync(core, "utf8")),
  "/*@PAGE@*/": script(outputFiles[0].text),
};
let page = readFileSync(join(here, "page.html"), "utf8");
for (const [mark, text] of Object.entries(parts)) {
  const at = page.indexOf(mark);
  if (at < 0) throw new Error(`page.html lacks ${mark}`);
  page = page.slice(0, at) + text + page.slice(at + mark.length);
}
// Written beside and moved into place, so that a reader never sees half a page.
const writeWhole = (file, text) => {
  const partial = `${file}.partial`;
  writeFileSync(partial, text);
  renameSync(partial, file);
};
writeWhole(output, page.replace("<!--@WEB@-->\n", ""));
console.log(`${output}: ${page.length} bytes`);

if (folder) {
  mkdirSync(folder, { recursive: true });
  execFileSync(join(here, "..", "scripts", "make-web-icons.sh"), [folder], { stdio: "inherit" });
  const manifest = {
    name: "Veltrax: молярная масса и формула по составу",
    short_name: "Veltrax",
    description: "Молярная масса и процентный состав по формуле, простейшая формула по процентному составу.",
    lang: "ru",
    dir: "ltr",
    id: "./",
    start_url: "./",
    scope: "./",
    display: "standalone",
    background_color: "#f0f0f0",
    theme_color: "#2b579a",
    icons: [
      { src: "icon-192.png", sizes: "192x192", type: "image/png" },
      { src: "icon-512.png", sizes: "512x512", type: "image/png" },
      { src: "icon-maskable.png", sizes: "512x512", type: "image/png", purpose: "maskable" },
    ],
  };
  const served = page
    .replace("<!--@WEB@-->", [
      '<link rel="manifest" href="manifest.webmanifest">',
      '<meta name="theme-color" content="#2b579a">',
      '<link rel="icon" href="icon-192.png">',
      '<link rel="apple-touch-icon" href="icon-192.png">',
    ].join("\n"))
    .replace("img-src data: blob:;", "img-src 'self' data: blob:; manifest-src 'self'; worker-src 'self';");
  writeWhole(join(folder, "index.html"), served);
  writeWhole(join(folder, "manifest.webmanifest"), `${JSON.stringify(manifest, null, 2)}\n`);
  // The worker's cache is named after every file it keeps: a new page is a new worker.
  const version = createHash("sha256");
  for (const file of ["index.html", "manifest.webmanifest", "icon-192.png", "icon-512.png", "icon-maskable.png"])
    version.update(readFileSync(join(folder, file)));
  writeWhole(join(folder, "sw.js"),
    readFileSync(join(here, "sw.js"), "utf8").replace("@VERSION@", version.digest("hex").slice(0, 16)));
  console.log(`${folder}: index.html, manifest.webmanifest, sw.js and icons`);
}
