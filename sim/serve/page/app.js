// The page of gyrowhirl-sim serve: one simulated phone per page, driven through the
// server's JSON API (see sim/serve/LiveServer.h). The page waits for changes with one
// long request at a time; it never asks again and again while nothing happens.
'use strict';

const session = (() => {
  let id = sessionStorage.getItem('gyrowhirl-session');
  if (!id || !/^[A-Za-z0-9_-]{8,64}$/.test(id)) {
    const bytes = new Uint8Array(12);
    crypto.getRandomValues(bytes);
    id = Array.from(bytes, (b) => b.toString(16).padStart(2, '0')).join('');
    sessionStorage.setItem('gyrowhirl-session', id);
  }
  return id;
})();
const api = '/api/session/' + session;
const $ = (id) => document.getElementById(id);

let next = 0;          // the number of the next timeline line to ask for
let picture = 0;       // the version of the latest picture asked for
let shownPicture = 0;  // ... and of the one on the page
let pictureSize = [1, 1];  // the shown picture's size in pixels
let state = null;      // the phone's state from the last answer
let clock = { time: 0, wall: performance.now(), playing: true, speed: 1 };
let generation = 0;    // a scenario opened restarts the stream

$('save').href = api + '/scenario';

function say(text) {
  $('message').textContent = text || '';
}

// A word of the scenario language: quoted when it holds spaces, quotes or starts with '#'.
function word(text) {
  if (text !== '' && !/[\s"\\]/.test(text) && !text.startsWith('#')) return text;
  return '"' + text.replace(/[\\"]/g, (c) => '\\' + c) + '"';
}

async function post(path, body, type) {
  const response = await fetch(api + path, {
    method: 'POST',
    headers: { 'Content-Type': type || 'application/json' },
    body: typeof body === 'string' ? body : JSON.stringify(body),
  });
  let reply = {};
  try { reply = await response.json(); } catch (e) { reply = {}; }
  if (!response.ok) {
    say(reply.error || ('the server answered ' + response.status));
    return null;
  }
  say('');
  // An action or a step that changed the phone: its picture is asked for at once, not when
  // the long wait for news learns of it.
  if (typeof reply.picture === 'number') showPicture(reply.picture);
  return reply;
}

function act(line) {
  return post('/action', { line });
}

// ---- the timeline and the picture ----------------------------------------------------------
function showClock() {
  let t = clock.time;
  if (clock.playing) t += (performance.now() - clock.wall) / 1000 * clock.speed;
  $('time').textContent = t.toFixed(3) + ' s';
  $('play').textContent = clock.playing ? 'Pause' : 'Play';
  for (const b of document.querySelectorAll('.speed')) {
    b.classList.toggle('on', Number(b.dataset.speed) === clock.speed);
  }
}
setInterval(() => { if (clock.playing) showClock(); }, 100);

function takeClock(reply) {
  clock = { time: reply.time, wall: performance.now(), playing: reply.playing, speed: reply.speed };
  showClock();
}

// The next picture is loaded beside the one shown and replaces it once decoded, so that the
// page never shows a picture half loaded, nor one older than it shows. Versions only grow:
// news of a version no later than the last asked for (an answer overtaken by another) asks
// for nothing; the server answers with the picture now, which may be later than asked.
async function showPicture(version) {
  if (version <= picture) return;
  picture = version;
  try {
    const response = await fetch(api + '/picture?v=' + version);
    if (!response.ok) return;
    const got = Math.max(version, Number(response.headers.get('X-Picture-Version')) || 0);
    if (got > picture) picture = got;
    const address = URL.createObjectURL(await response.blob());
    const loaded = new Image();
    loaded.src = address;
    await loaded.decode();
    if (got <= shownPicture) {
      URL.revokeObjectURL(address);
      return;
    }
    const img = $('phone');
    const old = img.src;
    img.src = address;
    pictureSize = [loaded.naturalWidth, loaded.naturalHeight];
    shownPicture = got;
    if (old.startsWith('blob:')) URL.revokeObjectURL(old);
  } catch (e) {
    // A picture that cannot be had now: the next change brings another.
  }
}

async function poll() {
  const mine = generation;
  while (mine === generation) {
    try {
      const response = await fetch(api + '/events?after=' + next + '&picture=' + picture);
      const reply = await response.json();
      if (mine !== generation) return;
      if (!response.ok) {
        say(reply.error || ('the server answered ' + response.status));
        await new Promise((r) => setTimeout(r, 2000));
        continue;
      }
      const box = $('timeline');
      const atBottom = box.scrollTop + box.clientHeight >= box.scrollHeight - 4;
      if (reply.lines.length) box.textContent += reply.lines.join('\n') + '\n';
      if (atBottom) box.scrollTop = box.scrollHeight;
      next = reply.next;
      takeClock(reply);
      showPicture(reply.picture);
      showState(reply.state);
    } catch (e) {
      say('the server cannot be reached; trying again');
      await new Promise((r) => setTimeout(r, 2000));
    }
  }
}

function restartStream() {
  generation += 1;
  next = 0;
  picture = 0;
  shownPicture = 0;
  $('timeline').textContent = '';
  poll();
}

// ---- the phone's state: apps, locks, the settings pane -------------------------------------
function showState(s) {
  state = s;
  const apps = $('app');
  const chosen = apps.value;
  if (apps.options.length !== s.apps.length) {
    apps.replaceChildren(...s.apps.map((id) => new Option(id, id)));
    if (s.apps.includes(chosen)) apps.value = chosen;
  }
  $('deviceLock').textContent = s.deviceLocked ? 'Unlock' : 'Lock';
  $('orientationLock').textContent = 'Orientation lock ' + (s.orientationLocked ? 'off' : 'on');
  showAlerts(s.alerts);
  showRows(s.settingsOpen ? s.settingsRows : []);
}

function button(text, line) {
  const b = document.createElement('button');
  b.type = 'button';
  b.textContent = text;
  b.addEventListener('click', () => act(line));
  return b;
}

function showAlerts(alerts) {
  const box = $('alerts');
  box.replaceChildren();
  for (const alert of alerts) {
    const card = document.createElement('div');
    card.className = 'alert';
    card.append(alert.title + (alert.message ? ': ' + alert.message : ''), document.createElement('br'));
    for (const action of alert.actions) card.append(button(action, 'alert ' + word(action)), ' ');
    box.append(card);
  }
}

// Rows are rebuilt only when what they show changed, so that a control in use stays. Each
// control sends the `settings` line a scenario would hold (see sim/serve/SettingsControl.h).
let rowsShown = '';
function showRows(rows) {
  const key = JSON.stringify(rows);
  if (key === rowsShown) return;
  rowsShown = key;
  const box = $('rows');
  box.replaceChildren();
  for (const row of rows) {
    const line = document.createElement('div');
    if (row.kind === 'group') {
      line.className = 'group';
      line.textContent = row.title;
      if (row.title) box.append(line);
      continue;
    }
    line.className = 'setting';
    line.dataset.key = row.key;
    line.dataset.kind = row.kind;
    const title = document.createElement('span');
    title.className = 'title';
    title.textContent = row.title;
    line.append(title);
    const set = (value) => act('settings set ' + word(row.key) + ' ' + word(value));
    if (row.kind === 'switch') {
      const toggle = document.createElement('input');
      toggle.type = 'checkbox';
      toggle.className = 'switch';
      toggle.setAttribute('aria-label', row.title || row.key);
      toggle.checked = row.on;
      toggle.addEventListener('change', () => set(String(toggle.checked)));
      line.append(toggle);
    } else if (row.kind === 'segments') {
      line.append(segmentsOf(row, set));
    } else if (row.kind === 'slider') {
      line.append(...sliderOf(row, set));
    } else if (row.kind === 'colour') {
      line.append(...colourOf(row, set));
    } else if (row.kind === 'button') {
      title.textContent = '';
      line.append(button(row.title, 'settings press ' + word(row.title)));
    } else if (row.kind === 'apps') {
      line.append(pickerOf(row));
    } else if (row.kind === 'text') {
      const field = document.createElement('input');
      field.value = row.value;
      const setButton = document.createElement('button');
      setButton.type = 'button';
      setButton.textContent = 'Set';
      setButton.addEventListener('click', () => set(field.value));
      line.append(field, setButton);
    }
    box.append(line);
  }
}

function segmentsOf(row, set) {
  const group = document.createElement('div');
  group.className = 'segments';
  group.setAttribute('role', 'group');
  row.choices.forEach((choice, i) => {
    const b = document.createElement('button');
    b.type = 'button';
    b.textContent = choice;
    b.classList.toggle('on', i === row.selected);
    b.setAttribute('aria-pressed', String(i === row.selected));
    b.addEventListener('click', () => set(row.values[i]));
    group.append(b);
  });
  return group;
}

function sliderOf(row, set) {
  const slider = document.createElement('input');
  slider.type = 'range';
  slider.min = row.min;
  slider.max = row.max;
  slider.step = 'any';
  slider.setAttribute('aria-label', row.title || row.key);
  slider.value = row.value;
  const shown = document.createElement('output');
  const show = () => { shown.textContent = Number(slider.value).toFixed(1); };
  show();
  slider.addEventListener('input', show);
  // Sent once the knob is let go: a scenario line, not a stream of them.
  slider.addEventListener('change', () => set(String(Number(Number(slider.value).toFixed(2)))));
  return [slider, shown];
}

// "#RRGGBB:alpha": the colour well sets the colour, the alpha the row had stays.
function colourOf(row, set) {
  const parts = /^#([0-9a-fA-F]{6})(?::(.*))?$/.exec(row.value);
  const alpha = parts && parts[2] !== undefined ? parts[2] : '1';
  const well = document.createElement('input');
  well.type = 'color';
  well.setAttribute('aria-label', row.title || row.key);
  well.value = parts ? '#' + parts[1].toLowerCase() : '#ffffff';
  const text = document.createElement('span');
  text.className = 'value';
  text.textContent = row.value;
  well.addEventListener('change', () => set(well.value.toUpperCase() + ':' + alpha));
  return [well, text];
}

function pickerOf(row) {
  const box = document.createElement('div');
  box.className = 'apps';
  const chosen = new Set(row.chosen);
  const checks = [];
  for (const id of state.apps) {
    const label = document.createElement('label');
    const check = document.createElement('input');
    check.type = 'checkbox';
    check.value = id;
    check.checked = chosen.has(id);
    checks.push(check);
    label.append(check, ' ' + id);
    box.append(label);
  }
  const pick = document.createElement('button');
  pick.type = 'button';
  pick.textContent = 'Pick';
  pick.addEventListener('click', () =>
    act(['settings pick', ...checks.filter((c) => c.checked).map((c) => c.value)].join(' ')));
  box.append(pick);
  return box;
}

// ---- the person's hands ----------------------------------------------------------------------
for (const b of document.querySelectorAll('[data-line]')) {
  b.addEventListener('click', () => act(b.dataset.line));
}
$('front').addEventListener('click', () => act('front ' + $('app').value + ' ' + $('orientation').value));
$('deviceLock').addEventListener('click', () => act('devicelock ' + (state && state.deviceLocked ? 'off' : 'on')));
$('orientationLock').addEventListener('click', () =>
  act('orientationlock ' + (state && state.orientationLocked ? 'off' : 'on')));
$('prefsForm').addEventListener('submit', (e) => {
  e.preventDefault();
  act('prefs write ' + word($('prefKey').value) + ' ' + word($('prefValue').value));
});
$('lineForm').addEventListener('submit', (e) => {
  e.preventDefault();
  act($('line').value).then((reply) => { if (reply) $('line').value = ''; });
});

function attitude() {
  $('rollValue').textContent = $('roll').value;
  $('pitchValue').textContent = $('pitch').value;
  return act('attitude ' + $('roll').value + ' ' + $('pitch').value);
}
$('roll').addEventListener('change', attitude);
$('pitch').addEventListener('change', attitude);

// The browser's device orientation (degrees) as the simulated attitude (radians): gamma is
// the tilt to the side (roll), beta the tilt toward the person (pitch). At most one
// attitude every 0.3 s, and only when it moved.
let lastSent = { roll: 0, pitch: 0, at: 0 };
function onOrientation(e) {
  if (e.beta === null || e.gamma === null) return;
  const roll = Math.max(-3.14, Math.min(3.14, e.gamma * Math.PI / 180));
  const pitch = Math.max(-1.57, Math.min(1.57, e.beta * Math.PI / 180));
  const now = performance.now();
  if (now - lastSent.at < 300) return;
  if (Math.abs(roll - lastSent.roll) < 0.05 && Math.abs(pitch - lastSent.pitch) < 0.05) return;
  lastSent = { roll, pitch, at: now };
  $('roll').value = roll.toFixed(2);
  $('pitch').value = pitch.toFixed(2);
  attitude();
}
$('motion').addEventListener('change', async () => {
  if (!$('motion').checked) {
    window.removeEventListener('deviceorientation', onOrientation);
    return;
  }
  if (typeof DeviceOrientationEvent !== 'undefined' &&
      typeof DeviceOrientationEvent.requestPermission === 'function') {
    try {
      if (await DeviceOrientationEvent.requestPermission() !== 'granted') {
        say('motion: permission refused');
        $('motion').checked = false;
        return;
      }
    } catch (e) {
      say('motion: ' + e.message);
      $('motion').checked = false;
      return;
    }
  }
  window.addEventListener('deviceorientation', onOrientation);
});

// Touches and drags on the picture, in the picture's own pixels.
function picturePoint(e) {
  const img = $('phone');
  const r = img.getBoundingClientRect();
  return [(e.clientX - r.left) * pictureSize[0] / r.width,
          (e.clientY - r.top) * pictureSize[1] / r.height];
}
let pressed = null;
$('phone').addEventListener('pointerdown', (e) => {
  pressed = picturePoint(e);
  $('phone').setPointerCapture(e.pointerId);
});
$('phone').addEventListener('pointerup', (e) => {
  if (!pressed) return;
  const [x, y] = pressed;
  const [x2, y2] = picturePoint(e);
  pressed = null;
  if (Math.hypot(x2 - x, y2 - y) < 6) {
    post('/action', { tap: [x, y] });
  } else {
    post('/action', { drag: [x, y, x2 - x, y2 - y] });
  }
});

// ---- the clock and the files -------------------------------------------------------------------
async function setClock(body) {
  const reply = await post('/clock', body);
  if (reply) takeClock(reply);
}
$('play').addEventListener('click', () => setClock({ play: !clock.playing }));
$('step').addEventListener('click', () => setClock({ step: 0.1 }));
for (const b of document.querySelectorAll('.speed')) {
  b.addEventListener('click', () => setClock({ speed: Number(b.dataset.speed) }));
}
$('open').addEventListener('change', async () => {
  const file = $('open').files[0];
  if (!file) return;
  // A motion trace (CSV) is played as `attitude` actions; anything else is a scenario.
  const trace = /\.csv$/i.test(file.name) || file.type === 'text/csv';
  const reply = await post('/open', await file.text(), trace ? 'text/csv' : 'text/plain');
  $('open').value = '';
  if (reply) restartStream();
});

restartStream();
