// Draws the app's icon as a PNG of SIZE x SIZE pixels: three crests of a
// wind sea in white on the page's deep blue, the sea below them in a
// lighter blue. The ground fills the whole square and the waves keep inside
// its middle 80 %, so the same picture serves where a launcher cuts the
// icon to a circle or a rounded square (a maskable icon).
// Usage: node icon.mjs OUTPUT.png SIZE
import {writeFileSync} from 'node:fs';
import {deflateSync} from 'node:zlib';

const [output, sizeArg] = process.argv.slice(2);
const size = Number(sizeArg);
if (!output || !Number.isInteger(size) || size < 16 || size > 4096) {
  throw new Error('usage: node icon.mjs OUTPUT.png SIZE (16 to 4096)');
}

const sky = [0x0b, 0x3a, 0x5c];
const sea = [0x0b, 0x53, 0x94];
const foam = [0xff, 0xff, 0xff];

// The surface's height (as a share of the square, from the top) at x, a
// share of the width: three crests, peaked and with flat troughs as wind
// waves are.
function surface(x) {
  const phase = ((x - 0.1) * 3 / 0.8) % 1;
  const t = phase < 0 ? phase + 1 : phase;
  return 0.56 - 0.22 * Math.pow(1 - Math.abs(Math.sin(Math.PI * t)), 1.6);
}

// Each pixel sampled 4 x 4 times, so that the crests' edges are smooth.
const rgb = Buffer.alloc(size * size * 3);
const samples = 4;
for (let y = 0; y < size; ++y) {
  for (let x = 0; x < size; ++x) {
    const sum = [0, 0, 0];
    for (let sy = 0; sy < samples; ++sy) {
      for (let sx = 0; sx < samples; ++sx) {
        const u = (x + (sx + 0.5) / samples) / size;
        const v = (y + (sy + 0.5) / samples) / size;
        const top = surface(u);
        const inside = u > 0.1 && u < 0.9;
        const colour = !inside || v < top ? sky
                     : v < top + 0.045 ? foam
                     : v < 0.8 ? sea : sky;
        for (let c = 0; c < 3; ++c) sum[c] += colour[c];
      }
    }
    for (let c = 0; c < 3; ++c) {
      rgb[(y * size + x) * 3 + c] = Math.round(sum[c] / (samples * samples));
    }
  }
}

// PNG: the signature, then IHDR (8-bit RGB), IDAT (each row behind a
// filter byte 0, deflated) and IEND, each chunk with its CRC-32.
const crcTable = Array.from({length: 256}, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});
function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes) c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}
function chunk(type, data) {
  const head = Buffer.alloc(8);
  head.writeUInt32BE(data.length, 0);
  head.write(type, 4, 'latin1');
  const crc = Buffer.alloc(4);
  crc.writeUInt32BE(crc32(Buffer.concat([head.subarray(4), data])), 0);
  return Buffer.concat([head, data, crc]);
}
const header = Buffer.alloc(13);
header.writeUInt32BE(size, 0);
header.writeUInt32BE(size, 4);
header[8] = 8;  // bits per channel
header[9] = 2;  // colour type: RGB
const rows = Buffer.alloc(size * (size * 3 + 1));
for (let y = 0; y < size; ++y) {
  rgb.copy(rows, y * (size * 3 + 1) + 1, y * size * 3, (y + 1) * size * 3);
}
writeFileSync(output, Buffer.concat([
  Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
  chunk('IHDR', header),
  chunk('IDAT', deflateSync(rows, {level: 9})),
  chunk('IEND', Buffer.alloc(0)),
]));
