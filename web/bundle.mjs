// Puts the page together as one self-contained file: the HTML with its style,
// the core (its wasm inside it) and the page's modules, joined by esbuild,
// inlined. Usage: node bundle.mjs CORE.js OUTPUT.html
//   VELTRAX_WEB_MODULES  where npm installed web/package.json (scripts/web-modules.sh)
import { readFileSync, writeFileSync, renameSync } from "node:fs";
import { createRequire } from "node:module";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";

const here = dirname(fileURLToPath(import.meta.url));
const [core, output] = process.argv.slice(2);
if (!core || !output) {
  console.error("usage: node bundle.mjs CORE.js OUTPUT.html");
  process.exit(2);
}
// Inside a script element nothing may close it early.
const script = (text) => text.replace(/<\/(script)/gi, "<\\/$1").replace(/<!--/g, "<\\!--");
// The ready element tables, byte for byte: one character a byte.
const table = (name) => readFileSync(join(here, "..", "tables", name)).toString("latin1");
const tables = JSON.stringify({ school: table("NameMass-school.dat"), iupac: table("NameMass-iupac-2021.dat") });
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
  define: { VELTRAX_READY_TABLES: tables },
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
const partial = `${output}.partial`;
writeFileSync(partial, page);
renameSync(partial, output);
console.log(`${output}: ${page.length} bytes`);
