// How long a person waits in the page of `gyrowhirl-sim serve`: from a click on a control to
// the phone's updated picture loaded on the page, over 200 clicks (the orientation lock, on
// and off: its icon changes the picture at once), in headless chromium. Prints the median
// and the 95th percentile in milliseconds. A benchmark, not a test: it passes or fails
// nothing.
//
//   npm install --prefix tests/browser            (once: playwright-core)
//   node bench/browser/serve-latency.mjs build/gyrowhirl-sim [CLICKS]
import { createRequire } from 'node:module';
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const require = createRequire(join(here, '../../tests/browser/package.json'));
const { chromium } = require('playwright-core');

const sim = resolve(process.argv[2] || 'build/gyrowhirl-sim');
const clicks = Number(process.argv[3] || 200);

const server = spawn(sim, ['serve', '--port', '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
const url = await new Promise((resolvePromise, reject) => {
  let text = '';
  server.stdout.on('data', (chunk) => {
    text += chunk;
    const found = text.match(/http:\/\/127\.0\.0\.1:\d+\//);
    if (found) resolvePromise(found[0]);
  });
  server.on('exit', (code) => reject(new Error('serve exited with ' + code)));
});
const profile = mkdtempSync(join(tmpdir(), 'gyrowhirl-chromium-'));
const context = await chromium.launchPersistentContext(profile, {
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
try {
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForFunction(() => state && shownPicture > 0);
  const times = await page.evaluate(async (n) => {
    const button = document.getElementById('orientationLock');
    const shown = (version) => new Promise((done) => {
      const look = () => {
        if (shownPicture >= version) {
          done();
        } else {
          setTimeout(look, 1);
        }
      };
      look();
    });
    const result = [];
    for (let i = 0; i < n; i += 1) {
      const locked = state.orientationLocked;
      const before = picture;
      const start = performance.now();
      button.click();
      await shown(before + 1);
      result.push(performance.now() - start);
      // The next click needs the state this one made.
      while (state.orientationLocked === locked) await new Promise((r) => setTimeout(r, 1));
    }
    return result;
  }, clicks);
  times.sort((a, b) => a - b);
  const at = (q) => times[Math.min(times.length - 1, Math.floor(q * times.length))];
  console.log(`click to updated picture, ${times.length} clicks: median ${at(0.5).toFixed(1)} ms, ` +
    `95th percentile ${at(0.95).toFixed(1)} ms, slowest ${times[times.length - 1].toFixed(1)} ms`);
} finally {
  await context.close();
  server.kill('SIGTERM');
  rmSync(profile, { recursive: true, force: true });
}
