// Writes the page as one self-contained file: the styles and scripts
// (chart library, engine with its WebAssembly, the page's own script)
// inlined into the HTML, so that it opens from disk and loads nothing else.
// The licences of bundled packages go in as comments before the scripts.
// Usage: node bundle.mjs OUTPUT TEMPLATE --css FILE... --js FILE...
//                        [--licence FILE...]
import {readFileSync, writeFileSync} from 'node:fs';

const [output, template, ...rest] = process.argv.slice(2);
const files = {'--css': [], '--js': [], '--licence': []};
let kind = null;
for (const arg of rest) {
  if (arg in files) {
    kind = arg;
  } else if (kind) {
    files[kind].push(arg);
  } else {
    throw new Error(`bundle: ${arg}: expected --css, --js or --licence before it`);
  }
}

// Files are read and written byte for byte (latin1 maps each byte to one
// character); an inlined text must not close its element early.
const inline = (path, closing) => {
  const text = readFileSync(path, 'latin1');
  return text.replaceAll(closing, closing.replace('/', '\\/'));
};

const styles = files['--css'].map((p) => inline(p, '</style')).join('\n');
const scripts = files['--js']
    .map((p) => `<script>\n${inline(p, '</script')}\n</script>`)
    .join('\n');

const licences = files['--licence']
    .map((p) => `<!--\n${readFileSync(p, 'latin1').replaceAll('--', '- -')}\n-->`)
    .join('\n');

const html = readFileSync(template, 'latin1');
for (const mark of ['<!-- @styles -->', '<!-- @scripts -->']) {
  if (html.split(mark).length !== 2) {
    throw new Error(`bundle: ${template} must hold ${mark} exactly once`);
  }
}
const page = html.replace('<!-- @styles -->', () => `<style>\n${styles}\n</style>`)
                 .replace('<!-- @scripts -->', () => licences + '\n' + scripts);
writeFileSync(output, page, 'latin1');
