// Formulas per second of mf-parser on the same 14 formulas as Veltrax's
// BM_FormulaMix, and the ratio of the two. Usage:
//   node mf_parser_compare.js VELTRAX_BENCHMARK.json
'use strict';
const fs = require('fs');
const { MF } = require('mf-parser');

const { formulas, mfRun } = require('./formula_mix.js');
const run = (rounds) => mfRun(MF, rounds);

// Warm up, then the median of five timed runs of about a second each.
run(2000);
const rates = [];
for (let repetition = 0; repetition < 5; ++repetition) {
  const rounds = 4000;
  const start = process.hrtime.bigint();
  run(rounds);
  const seconds = Number(process.hrtime.bigint() - start) / 1e9;
  rates.push((rounds * formulas.length) / seconds);
}
rates.sort((a, b) => a - b);
const mfRate = rates[2];

const report = JSON.parse(fs.readFileSync(process.argv[2], 'utf8'));
const mix = report.benchmarks.filter((b) => b.name.startsWith('BM_FormulaMix') && b.items_per_second);
const veltraxRate = mix.map((b) => b.items_per_second).sort((a, b) => a - b)[Math.floor(mix.length / 2)];
const k = (rate) => `${(rate / 1000).toFixed(0)} k formulas/s`;
console.log(`mf-parser 3.9.3 (node ${process.version}): ${k(mfRate)}`);
console.log(`Veltrax BM_FormulaMix:                ${k(veltraxRate)}`);
console.log(`ratio: ${(veltraxRate / mfRate).toFixed(2)}`);
