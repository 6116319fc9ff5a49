// The page of `gyrowhirl-sim serve` in a real browser: Debian's chromium, headless, driven by
// playwright-core. A person turns the phone, taps and drags the button, changes the settings,
// restores the defaults and resprings, saves the session as a scenario (whose `run` must give
// the session's timeline), and a hostile request is refused while the page goes on working.
//
//   node tests/browser/serve-page.test.mjs build/gyrowhirl-sim OUT_DIR
//
// Writes OUT_DIR/serve-page.png (the page, for the README) and OUT_DIR/session.scn. Exit
// status 0 when every check passed.
import { chromium } from 'playwright-core';
import { spawn, execFileSync } from 'node:child_process';
import { mkdtempSync, mkdirSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import assert from 'node:assert/strict';

const [simArg, outArg] = process.argv.slice(2);
if (!simArg || !outArg) {
  console.error('usage: node serve-page.test.mjs GYROWHIRL_SIM OUT_DIR');
  process.exit(2);
}
const sim = resolve(simArg);
const out = resolve(outArg);
mkdirSync(out, { recursive: true });

export const chromiumFlags = [
  '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

// Starts the server on a free port; resolves to [process, base URL].
export function startServer(binary, args = []) {
  const server = spawn(binary, ['serve', '--port', '0', ...args], { stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((resolvePromise, reject) => {
    let text = '';
    server.stdout.on('data', (chunk) => {
      text += chunk;
      const found = text.match(/http:\/\/127\.0\.0\.1:(\d+)\//);
      if (found) resolvePromise([server, found[0]]);
    });
    server.on('exit', (code) => reject(new Error('serve exited with ' + code)));
  });
}

const [server, url] = await startServer(sim);
const profile = mkdtempSync(join(tmpdir(), 'gyrowhirl-chromium-'));
const context = await chromium.launchPersistentContext(profile, {
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: ['--headless', ...chromiumFlags],
  acceptDownloads: true,
  viewport: { width: 1500, height: 1000 },
});
let failed = false;
let page = null;
try {
  page = await context.newPage();
  const timeline = () => page.locator('#timeline').textContent();
  // Waits until the timeline holds `text` `count` times.
  const until = (text, count = 1) => page.waitForFunction(
    ([t, n]) => document.getElementById('timeline').textContent.split(t).length > n, [text, count],
    { timeout: 15000 });
  const act = (line) => page.click(`[data-line="${line}"]`);
  // The picture's pixel (r, g, b) at picture pixels (x, y), as the page shows it.
  const pixel = (x, y) => page.evaluate(async ([px, py]) => {
    const img = document.getElementById('phone');
    await img.decode();
    const canvas = document.createElement('canvas');
    canvas.width = img.naturalWidth;
    canvas.height = img.naturalHeight;
    const g = canvas.getContext('2d');
    g.drawImage(img, 0, 0);
    return Array.from(g.getImageData(Math.round(px), Math.round(py), 1, 1).data.slice(0, 3));
  }, [x, y]);
  // Waits for the picture of the page's current version to be on screen.
  const pictureShown = () => page.waitForFunction(() => shownPicture === picture, null,
    { timeout: 15000 });
  // The picture pixel on the screen of the page, in the picture now shown (its size changes
  // with the way the phone is held).
  const onPage = async ([x, y]) => {
    const [left, top, width, natural] = await page.evaluate(() => {
      const r = document.getElementById('phone').getBoundingClientRect();
      return [r.left, r.top, r.width, pictureSize[0]];
    });
    return [left + x * width / natural, top + y * width / natural];
  };
  // The device time of the `n`th "button shown" line of the timeline.
  const shownAt = async (n) => {
    const times = [...(await timeline()).matchAll(/^\s*([\d.]+)\s.*button shown at/gm)];
    return Number(times[n - 1][1]);
  };
  // Waits until the phone's clock, as the page keeps it, has reached `t` (device seconds): a
  // button takes no touches while it fades in.
  const deviceTimeReaches = (t) => page.waitForFunction((at) => {
    let now = clock.time;
    if (clock.playing) now += (performance.now() - clock.wall) / 1000 * clock.speed;
    return now >= at;
  }, t, { timeout: 15000 });
  const buttonCentre = async () => {
    await page.waitForFunction(() => state && state.buttons.length === 1, null, { timeout: 15000 });
    const [x, y, w, h] = await page.evaluate(() => state.buttons[0]);
    return { centre: [x + w / 2, y + h / 2], size: [w, h] };
  };

  await page.goto(url);
  await until('home screen started');
  await pictureShown();

  // Another program writes the preferences: an untapped button stays 30 s (a slow machine
  // must not see it withdrawn before the test reaches it).
  await page.fill('#prefKey', 'pSliderDisappearInterval');
  await page.fill('#prefValue', '30');
  await page.click('#prefsForm button');
  await until('DisappearInterval=30');

  // Turned to landscape: the button is shown, in the timeline and in the picture.
  await act('turn landscape');
  await until('button shown at (');
  const words = (await timeline()).match(/button shown at \(([\d.]+), ([\d.]+)\), ([\d.]+)×([\d.]+)/);
  assert.ok(words, 'the timeline states where the button is');
  const first = await buttonCentre();
  const scale = await page.evaluate(() => state.pixelsPerPoint);
  assert.ok(Math.abs(first.size[0] - Number(words[3]) * scale) <= 2 &&
    Math.abs(first.size[1] - Number(words[4]) * scale) <= 2,
    `the button in the picture (${first.size} pixels) has the size the timeline states ` +
    `(${words[3]}×${words[4]} points at ${scale} pixels a point)`);
  await deviceTimeReaches(await shownAt(1) + 0.6);  // past the fade-in
  await pictureShown();
  const withButton = await pixel(...first.centre);

  // A click on it lifts the lock, and the app turns.
  const [cx, cy] = await onPage(first.centre);
  await page.mouse.click(cx, cy);
  await until('lock lifted by Gyrowhirl');
  await until('turned to landscape');
  await act('turn portrait');
  await until('lock put back by Gyrowhirl');
  await pictureShown();
  const withoutButton = await pixel(...first.centre);
  assert.notDeepEqual(withButton, withoutButton, 'the button shows in the picture where the page says it is');

  // Dragged: the button moves and its place is saved.
  await act('turn landscape');
  await until('button shown at (', 2);
  await deviceTimeReaches(await shownAt(2) + 0.6);  // past the fade-in
  await pictureShown();
  const second = await buttonCentre();
  const [sx, sy] = await onPage(second.centre);
  await page.mouse.move(sx, sy);
  await page.mouse.down();
  await page.mouse.move(sx + 40, sy - 80, { steps: 5 });
  await page.mouse.up();
  await until('button dragged to');
  await until('preferences file written');

  // Held by this device's motion: an orientation event of the browser turns the phone to
  // landscape, and the button shows again.
  await act('turn portrait');
  await until('button withdrawn');
  await page.check('#motion');
  await page.evaluate(() => window.dispatchEvent(
    new DeviceOrientationEvent('deviceorientation', { alpha: 0, beta: 0, gamma: 90 })));
  await until('turn the phone to landscape (roll 1.57');
  await until('button shown at (', 3);
  await page.uncheck('#motion');

  // A settings change through the pane's own controls reaches the tweak: a segment of the
  // button's size, and the slider within its bounds.
  await act('settings open');
  const sizeRow = page.locator('#rows .setting[data-key="pSegmentedButtonSize"]');
  await sizeRow.locator('.segments button', { hasText: 'Large' }).click();
  await until('ButtonSize=3');
  await page.waitForFunction(() => document.querySelector(
    '#rows .setting[data-key="pSegmentedButtonSize"] .segments button.on')?.textContent === 'Large',
  null, { timeout: 15000 });
  const slider = page.locator('#rows .setting[data-key="pSliderDisappearInterval"] input[type=range]');
  assert.deepEqual([await slider.getAttribute('min'), await slider.getAttribute('max')], ['1', '10']);
  await slider.fill('7');
  await until('DisappearInterval=7');

  // Restore Defaults with its alerts, then Respring.
  await page.locator('#rows button', { hasText: 'Restore Defaults' }).click();
  await page.locator('#alerts button', { hasText: 'Yes' }).click();
  await until('preferences file deleted');
  await page.locator('#alerts button', { hasText: 'Respring' }).click();
  await until('program started: /usr/bin/killall backboardd');
  await until('the user interface restarts');

  // A hostile request is refused, and the page goes on working.
  const session = await page.evaluate(() => session);
  const hostile = await page.request.post(`${url}api/session/${session}/action`,
    { data: '{"line": "front ../../../etc/passwd"}', headers: { 'Content-Type': 'application/json' } });
  assert.equal(hostile.status(), 400);
  await act('turn flat');
  await until('lay the phone flat');

  await page.screenshot({ path: join(out, 'serve-page.png') });

  // Saved as a scenario: `run` gives the session's timeline.
  await page.click('#play');  // pause, so that the two are read at one moment
  await page.waitForFunction(() => !clock.playing);
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save')]);
  const saved = join(out, 'session.scn');
  await download.saveAs(saved);
  const live = await (await page.request.get(`${url}api/session/${session}/timeline.jsonl`)).text();
  const run = execFileSync(sim, ['run', saved, '--jsonl'], { encoding: 'utf8' });
  assert.equal(run, live, 'the saved scenario runs to the session\'s timeline');
  console.log(`browser test passed: ${live.split('\n').length - 1} events; ${join(out, 'serve-page.png')}`);
} catch (error) {
  failed = true;
  console.error('browser test failed:', error);
  if (page) {
    // What the page showed: its message line and the end of its timeline.
    const message = await page.locator('#message').textContent().catch(() => '');
    const shown = await page.locator('#timeline').textContent().catch(() => '');
    console.error('page message: ' + message);
    console.error(shown.split('\n').slice(-15).join('\n'));
  }
} finally {
  await context.close();
  server.kill('SIGTERM');
  rmSync(profile, { recursive: true, force: true });
}
process.exit(failed ? 1 : 0);
