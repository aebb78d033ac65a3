// Lighthouse's scores of the site form with its default mobile settings (a
// mid-range phone on a slow 4G network, simulated), the site served
// gzip-compressed from 127.0.0.1 and Debian's chromium driven. Each category's
// median over the runs is printed against its target; the reports stay in
// REPORT_DIR for the audits behind a score. Without --quick a missed target
// fails.
// Usage: node bench/lighthouse.mjs SITE_DIR REPORT_DIR [RUNS] [--quick]
import { execFile } from 'node:child_process';
import { mkdirSync, readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { promisify } from 'node:util';
import { serveFolder } from '../scripts/serve_site.mjs';

const kRoot = join(dirname(fileURLToPath(import.meta.url)), '..');
const kTargets = { 'performance': 0.95, 'accessibility': 1, 'best-practices': 1, 'seo': 1 };
const kChromeFlags = ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'];

async function scores(url, report) {
    await promisify(execFile)(process.execPath, [join(kRoot, 'node_modules/lighthouse/cli/index.js'), url,
        '--quiet', '--output=json', `--output-path=${report}`, `--chrome-flags=${kChromeFlags.join(' ')}`,
        `--only-categories=${Object.keys(kTargets).join(',')}`],
    { env: { ...process.env, CHROME_PATH: process.env.CHROME_PATH || '/usr/bin/chromium' } });
    const { categories } = JSON.parse(readFileSync(report, 'utf8'));
    return Object.fromEntries(Object.keys(kTargets).map((name) => [name, categories[name].score]));
}

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

const [siteDir, reportDir, ...rest] = process.argv.slice(2);
const quick = rest.includes('--quick');
const runs = quick ? 1 : Number(rest.find((argument) => /^\d+$/.test(argument)) || 3);
mkdirSync(reportDir, { recursive: true });
const site = await serveFolder(siteDir);
const results = [];
try {
    for (let run = 1; run <= runs; ++run)
        results.push(await scores(site.url, join(reportDir, `lighthouse-${run}.json`)));
} finally {
    await site.close();
}
const missed = [];
for (const [name, target] of Object.entries(kTargets)) {
    const score = median(results.map((result) => result[name]));
    console.log(`lighthouse ${name}: ${score.toFixed(2)} (target ${target.toFixed(2)})`);
    if (score < target)
        missed.push(name);
}
if (missed.length && !quick) {
    console.error(`lighthouse: ${missed.join(', ')} below target; the reports are in ${reportDir}`);
    process.exitCode = 1;
}
