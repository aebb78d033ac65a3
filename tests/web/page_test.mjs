// The page in real headless browsers, Chromium over CDP and Firefox ESR over
// WebDriver BiDi, in both of its forms: the one file opened from file:// and
// the site served on 127.0.0.1. Each check runs on a fresh page in a fresh
// browser context, so that no storage or service worker carries over, and
// its bytes are compared with the command-line tool's. A failing check
// leaves a screenshot of its page in the output folder.
//
// Usage: node page_test.mjs PAGE_HTML TESSALDO_CLI [SITE_FOLDER]
//            [--browser chromium|firefox] [--form file|site] [--only TEXT] [--out FOLDER]
// SITE_FOLDER defaults to the site beside PAGE_HTML; where there is none,
// a folder serving PAGE_HTML as its index stands in for it.
import { copyFileSync, existsSync, mkdirSync } from 'node:fs';
import { basename, dirname, join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { parseArgs } from 'node:util';
import puppeteer from 'puppeteer-core';

import { serveFolder } from '../../scripts/serve_site.mjs';
import { kWork, open, useCli } from './harness.mjs';
import { kChecks as kAppChecks } from './app_checks.mjs';
import { kChecks as kCanvasChecks } from './canvas_checks.mjs';
import { kChecks as kFaultChecks } from './faults_checks.mjs';
import { kChecks as kFileChecks } from './files_checks.mjs';
import { kChecks as kFontChecks } from './font_checks.mjs';
import { kChecks as kImportChecks } from './import_checks.mjs';
import { kChecks as kLayoutChecks } from './layout_checks.mjs';
import { kChecks as kRoundTripChecks } from './roundtrip_checks.mjs';
import { kChecks as kSetChecks } from './set_checks.mjs';
import { kChecks as kSizeChecks } from './size_checks.mjs';
import { kChecks as kWindowChecks } from './window_checks.mjs';
import { kChecks as kWorkChecks } from './work_checks.mjs';

const kAllChecks = [...kWindowChecks, ...kFileChecks, ...kImportChecks, ...kSetChecks, ...kFaultChecks, ...kAppChecks,
    ...kWorkChecks, ...kSizeChecks, ...kCanvasChecks, ...kRoundTripChecks, ...kFontChecks,
    ...kLayoutChecks];

const kChromiumFlags = ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const kBrowsers = {
    chromium: () => puppeteer.launch({ browser: 'chrome', executablePath: '/usr/bin/chromium', args: kChromiumFlags }),
    firefox: () => puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true }),
};

function options() {
    const { values, positionals } = parseArgs({
        allowPositionals: true,
        options: { browser: { type: 'string', multiple: true }, form: { type: 'string', multiple: true },
            only: { type: 'string' }, out: { type: 'string' } },
    });
    const known = (given, choices) => (given || []).every((choice) => choices.includes(choice));
    if (positionals.length < 2 || positionals.length > 3 || !known(values.browser, Object.keys(kBrowsers))
        || !known(values.form, ['file', 'site'])) {
        console.error('usage: node page_test.mjs PAGE_HTML TESSALDO_CLI [SITE_FOLDER] '
            + '[--browser chromium|firefox] [--form file|site] [--only TEXT] [--out FOLDER]');
        process.exit(2);
    }
    const [page, cli, site] = positionals.map((path) => resolve(path));
    return { page, cli, site: site || join(dirname(page), 'site'), browsers: values.browser || Object.keys(kBrowsers),
        forms: values.form || ['file', 'site'], only: values.only || '', out: resolve(values.out || dirname(page)) };
}

// The site folder, or one holding only the one-file page as its index where no site was built.
function siteFolder(site, page) {
    if (existsSync(join(site, 'index.html')))
        return site;
    const standIn = join(kWork, 'site');
    mkdirSync(standIn, { recursive: true });
    copyFileSync(page, join(standIn, 'index.html'));
    console.log(`no site in ${site}: serving ${basename(page)} as its index instead`);
    return standIn;
}

async function screenshot(page, out, label) {
    const file = join(out, `page-test-failed-${label.replace(/[^\w]+/g, '-').slice(0, 80)}.png`);
    try {
        mkdirSync(out, { recursive: true });
        await page.screenshot({ path: file });
        return file;
    } catch (error) {
        return `no screenshot (${error.message})`;
    }
}

// Runs one check on a page of its own; true when it passed.
async function runCheck(browser, where, check, settings) {
    const context = await browser.createBrowserContext();
    const label = `${where.browser} ${where.form}: ${check.name}`;
    const page = await context.newPage();
    const started = performance.now();
    const took = () => `${((performance.now() - started) / 1000).toFixed(1)} s`;
    try {
        await open(page, where.url);
        await check.run(page, where);
        console.log(`ok      ${label} (${took()})`);
        return true;
    } catch (error) {
        console.log(`FAILED  ${label} (${took()})\n    ${(error.stack || String(error)).split('\n').join('\n    ')}`);
        console.log(`    screenshot: ${await screenshot(page, settings.out, label)}`);
        return false;
    } finally {
        await context.close().catch(() => {});
    }
}

async function main() {
    const settings = options();
    useCli(settings.cli);
    const started = performance.now();
    const tally = [];
    for (const kind of settings.browsers) {
        const browser = await kBrowsers[kind]();
        try {
            for (const form of settings.forms) {
                const site = form === 'site' ? siteFolder(settings.site, settings.page) : null;
                const server = site ? await serveFolder(site) : null;
                const where = { browser: kind, form, url: server ? server.url : pathToFileURL(settings.page).href, site };
                const checks = kAllChecks.filter((check) => check.name.includes(settings.only)
                    && (!check.forms || check.forms.includes(form)) && (!check.browsers || check.browsers.includes(kind)));
                let passed = 0;
                for (const check of checks)
                    passed += await runCheck(browser, where, check, settings);
                tally.push({ kind, form, passed, failed: checks.length - passed });
                await server?.close();
            }
        } finally {
            await browser.close();
        }
    }
    const seconds = ((performance.now() - started) / 1000).toFixed(1);
    for (const { kind, form, passed, failed } of tally)
        console.log(`${kind} ${form}: ${passed} passed, ${failed} failed`);
    const failed = tally.reduce((sum, { failed: count }) => sum + count, 0);
    const passed = tally.reduce((sum, { passed: count }) => sum + count, 0);
    console.log(`${passed} passed, ${failed} failed in ${seconds} s`);
    process.exit(failed ? 1 : 0);
}

await main();
