// What Firefox users met: an out-of-range threshold. Each runs in every browser.
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { crc32, deflateSync } from 'node:zlib';

import { cli, dropFiles, kWork, lcdDots, retype, waitForDots } from './harness.mjs';

// A 16 x 16 grey PNG whose pixel n is n grey: every threshold gives other dots.
function greyRamp() {
    const chunk = (type, data) => {
        const length = Buffer.alloc(4);
        length.writeUInt32BE(data.length);
        const tail = Buffer.alloc(4);
        tail.writeUInt32BE(crc32(Buffer.concat([Buffer.from(type), data])));
        return Buffer.concat([length, Buffer.from(type), data, tail]);
    };
    const header = Buffer.from([0, 0, 0, 16, 0, 0, 0, 16, 8, 0, 0, 0, 0]);
    const rows = Array.from({ length: 16 }, (_, y) => [0, ...Array.from({ length: 16 }, (__, x) => y * 16 + x)]);
    return Buffer.concat([Buffer.from('\x89PNG\r\n\x1a\n', 'latin1'), chunk('IHDR', header),
        chunk('IDAT', deflateSync(Buffer.from(rows.flat()))), chunk('IEND', Buffer.alloc(0))]);
}

async function thresholdClamps(page) {
    const png = greyRamp();
    const file = join(kWork, 'ramp.png');
    writeFileSync(file, png);
    await dropFiles(page, [['ramp.png', png]]);
    await page.waitForSelector('dialog[open] input#threshold');
    await retype(page, 'dialog[open] input#threshold', '300');
    await page.click('dialog[open] button[value="ok"]');
    await waitForDots(page, lcdDots(cli('import', file, '-', '--threshold', '255')));
}

export const kChecks = [
    { name: 'a threshold typed as 300 is taken as 255, as the preview takes it', run: thresholdClamps },
];
