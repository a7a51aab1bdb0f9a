// The WebAssembly core under node on the 14 formulas of BM_FormulaMix, beside
// mf-parser 3.9.3 on the same formulas in the same process.
// Usage: node web_compare.mjs MIX.js NODE_MODULES
import { createRequire } from "node:module";
import { join, resolve } from "node:path";

const [mixPath, modules] = process.argv.slice(2);
const require = createRequire(join(resolve(modules), "x"));
const { MF } = require("mf-parser");
const VeltraxMix = createRequire(import.meta.url)(resolve(mixPath));

const { formulas, mfRun: mfRunOf } = createRequire(import.meta.url)("./formula_mix.js");

// The table lives in memory, as in a browser's storage.
const table = new Map();
const stamp = (bytes) => ({ size: bytes.length, device: 0, inode: 1, modified: 0, changed: 0 });
const core = await VeltraxMix({
  veltraxStore: {
    look: (name) => (table.has(name) ? stamp(table.get(name)) : null),
    read: (name) => (table.has(name) ? { stamp: stamp(table.get(name)), bytes: table.get(name) } : null),
    create: (name, bytes) => (table.has(name) ? "existed" : (table.set(name, bytes), "created")),
  },
});

const mfRun = (rounds) => mfRunOf(MF, rounds);
const veltraxRun = (rounds) => core._veltrax_mix(rounds);

// Warm up, then the two timed in turn, nine times each, so that a slow
// moment of the machine falls on both; the medians count.
const timed = (run, rounds) => {
  const start = process.hrtime.bigint();
  run(rounds);
  return (rounds * formulas.length) / (Number(process.hrtime.bigint() - start) / 1e9);
};
mfRun(2000);
veltraxRun(4000);
const mfRates = [];
const veltraxRates = [];
for (let repetition = 0; repetition < 9; ++repetition) {
  mfRates.push(timed(mfRun, 2000));
  veltraxRates.push(timed(veltraxRun, 4000));
}
const median = (rates) => rates.sort((a, b) => a - b)[Math.floor(rates.length / 2)];
const mfRate = median(mfRates);
const veltraxRate = median(veltraxRates);
const k = (value) => `${(value / 1000).toFixed(0)} k formulas/s`;
console.log(`mf-parser 3.9.3 (node ${process.version}):    ${k(mfRate)}`);
console.log(`Veltrax core, WebAssembly, same process: ${k(veltraxRate)}`);
console.log(`ratio: ${(veltraxRate / mfRate).toFixed(2)}`);
