// node bench_image_size.js MODULE_DIR LIST [ROUNDS] [HEAD]: files per second of the
// npm package image-size over the files in LIST, through its synchronous API.
// The file is read as its own imageSizeFromFile does (up to 512 KiB), or only
// the first HEAD bytes when HEAD is given. Timed like bench_probe: chunks of 100
// files, each chunk's fastest round counts ("best"), the median round for comparison.
'use strict';
const fs = require('fs');
const path = require('path');
const [moduleDir, listFile, roundsArg, headArg] = process.argv.slice(2);
const { imageSize } = require(path.join(moduleDir, 'node_modules', 'image-size'));
const files = fs.readFileSync(listFile, 'utf8').split('\n').filter(Boolean);
const rounds = Number(roundsArg || 5);
const maxInput = headArg ? Number(headArg) : 512 * 1024;
const buffer = new Uint8Array(maxInput);

function pass(chunk) {
  let sum = 0, errors = 0;
  for (const f of chunk) {
    const fd = fs.openSync(f, 'r');
    try {
      const size = headArg ? maxInput : Math.min(fs.fstatSync(fd).size, maxInput);
      const got = fs.readSync(fd, buffer, 0, size, 0);
      const d = imageSize(buffer.subarray(0, got));
      sum += d.width + d.height;
    } catch (e) {
      errors++;
    } finally {
      fs.closeSync(fd);
    }
  }
  return { sum, errors };
}

const chunks = [];
for (let i = 0; i < files.length; i += 100) chunks.push(files.slice(i, i + 100));
const times = chunks.map(() => []);
let sum = 0, errors = 0;
for (let r = 0; r < rounds; r++) {
  errors = 0;
  chunks.forEach((chunk, k) => {
    const start = process.hrtime.bigint();
    const result = pass(chunk);
    times[k].push(Number(process.hrtime.bigint() - start) / 1e9);
    sum += result.sum;
    errors += result.errors;
  });
}
let best = 0, median = 0;
for (const t of times) {
  t.sort((a, b) => a - b);
  best += t[0];
  median += t[t.length >> 1];
}
const label = headArg ? `image-size(${maxInput}B head)` : 'image-size';
console.log(`${label}\t${files.length} files\tbest ${(files.length / best).toFixed(0)} files/s\t` +
            `median ${(files.length / median).toFixed(0)} files/s\t${errors} errors\tchecksum ${sum}`);
