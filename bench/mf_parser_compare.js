// Formulas per second of mf-parser on the same 14 formulas as Veltrax's
// BM_FormulaMix, and the ratio of the two. Usage:
//   node mf_parser_compare.js VELTRAX_BENCHMARK.json
'use strict';
const fs = require('fs');
const { MF } = require('mf-parser');

const formulas = ['H2O', 'Ca(OH)2', 'Fe2(SO4)3', 'CuSO4(H2O)5', 'Al2(SO4)3(H2O)18', 'C6H12O6', '(NH4)2SO4',
                  'Mg3(PO4)2', 'NaCl', 'KMnO4', 'C2H5OH', 'Ba(NO3)2', 'Ca3(PO4)2', 'NaHCO3'];

function run(rounds) {
  let sink = 0;
  for (let round = 0; round < rounds; ++round)
    for (const formula of formulas) {
      const mf = new MF(formula);
      sink += mf.getInfo().mass + mf.getEA().length;
    }
  return sink;
}

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
