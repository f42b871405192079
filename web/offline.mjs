// Writes the service worker of the site in SITE: the template with the
// list of the site's files and a version formed from their bytes, so that
// any change to any of them gives a new worker, which browsers take for a
// new version of the page.
// Usage: node offline.mjs SITE TEMPLATE FILE...
import {createHash} from 'node:crypto';
import {readFileSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';

const [site, template, ...files] = process.argv.slice(2);
if (!site || !template || files.length === 0) {
  throw new Error('usage: node offline.mjs SITE TEMPLATE FILE...');
}
const hash = createHash('sha256');
for (const file of files) {
  hash.update(file + '\0');
  hash.update(readFileSync(join(site, file)));
}
const version = hash.digest('hex').slice(0, 16);
const text = readFileSync(template, 'utf8');
for (const mark of ['@VERSION@', '@FILES@']) {
  if (text.split(mark).length !== 2) {
    throw new Error(`offline: ${template} must hold ${mark} exactly once`);
  }
}
writeFileSync(join(site, 'sw.js'),
              text.replace('@VERSION@', version)
                  .replace('@FILES@', JSON.stringify(files)));
