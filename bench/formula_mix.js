// The 14 formulas of BM_FormulaMix, and mf-parser's run over them, shared by
// the comparisons with the native and the WebAssembly core.
'use strict';

const formulas = ['H2O', 'Ca(OH)2', 'Fe2(SO4)3', 'CuSO4(H2O)5', 'Al2(SO4)3(H2O)18', 'C6H12O6', '(NH4)2SO4',
                  'Mg3(PO4)2', 'NaCl', 'KMnO4', 'C2H5OH', 'Ba(NO3)2', 'Ca3(PO4)2', 'NaHCO3'];

// Each formula parsed, weighed and analysed by element, `rounds` times over.
function mfRun(MF, rounds) {
  let sink = 0;
  for (let round = 0; round < rounds; ++round)
    for (const formula of formulas) {
      const mf = new MF(formula);
      sink += mf.getInfo().mass + mf.getEA().length;
    }
  return sink;
}

module.exports = { formulas, mfRun };
