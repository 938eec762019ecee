// Reads a vCard file with an independent reader and prints what it understood of each card
// (see print() below for the lines). Usage: node read_vcards.mjs icaljs|vcf FILE
// Exit status 1 when the reader refuses the file.
import fs from 'fs';
import ICAL from 'ical.js';
import vcf from 'vcf';

const [reader, file] = process.argv.slice(2);
const text = fs.readFileSync(file, 'utf8');

// vcf hands values over as they stand in the file; the escapes of RFC 6350 are undone here.
function unescape(value) {
  return value.replace(/\\([\\;,nN])/g, (_, c) => (c === 'n' || c === 'N' ? '\n' : c));
}
function components(value) {
  if (Array.isArray(value)) return value.map((v) => unescape(String(v)));
  return String(value).split(/(?<!\\);/).map(unescape);
}

function fromIcal() {
  const parsed = ICAL.parse(text);
  const cards = Array.isArray(parsed[0]) ? parsed : [parsed];
  return cards.map((jcal) => {
    const card = new ICAL.Component(jcal);
    const values = (name) => card.getAllProperties(name).map((p) => p.getFirstValue());
    const n = card.getFirstPropertyValue('n');
    return {
      fn: card.getFirstPropertyValue('fn'),
      n: n ? n.map(String) : null,
      tel: values('tel').map(String),
      email: values('email').map(String),
      adr: values('adr').map((a) => a.map(String)),
    };
  });
}

function fromVcf() {
  return vcf.parse(text).map((card) => {
    const all = (name) => {
      const p = card.get(name);
      if (!p) return [];
      return (Array.isArray(p) ? p : [p]).map((x) => x.valueOf());
    };
    const n = all('n')[0];
    return {
      fn: all('fn').length ? unescape(String(all('fn')[0])) : null,
      n: n === undefined ? null : components(n),
      tel: all('tel').map((v) => unescape(String(v))),
      email: all('email').map((v) => unescape(String(v))),
      adr: all('adr').map(components),
    };
  });
}

// "card", then "fn V", "n C1<tab>C2...", "tel V", "email V", "adr C1<tab>...<tab>C7"; a
// backslash, tab or line break inside a value is written \\, \t, \n.
function print(card) {
  const esc = (v) => String(v).replace(/\\/g, '\\\\').replace(/\t/g, '\\t').replace(/\n/g, '\\n');
  const lines = ['card'];
  if (card.fn !== null && card.fn !== undefined) lines.push('fn ' + esc(card.fn));
  if (card.n) lines.push('n ' + card.n.map(esc).join('\t'));
  for (const t of card.tel) lines.push('tel ' + esc(t));
  for (const e of card.email) lines.push('email ' + esc(e));
  for (const a of card.adr) lines.push('adr ' + a.map(esc).join('\t'));
  process.stdout.write(lines.join('\n') + '\n');
}

try {
  const cards = reader === 'icaljs' ? fromIcal() : fromVcf();
  for (const card of cards) print(card);
} catch (error) {
  console.error(`${reader} refused ${file}: ${error.message}`);
  process.exit(1);
}
