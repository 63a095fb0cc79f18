// kavel front-end: draws whatever the web host sends (docs/api.md) and sends the user's acts back
// as events. It knows no screen: every form is drawn from its control tree.
'use strict';

const session = { csrf: '', user: null, outcome: null, lastPrint: 0, menu: null };
let queue = Promise.resolve();

// ---------------------------------------------------------------------------------------- http

async function api(method, path, body) {
  const init = { method, credentials: 'same-origin', headers: {} };
  if (body !== undefined) {
    init.headers['Content-Type'] = 'application/json';
    init.headers['X-CSRF-Token'] = session.csrf;
    init.body = JSON.stringify(body);
  }
  const response = await fetch(path, init);
  let data = null;
  try { data = await response.json(); } catch (e) { data = null; }
  if (response.status === 401 && path !== '/api/login') {
    showLogin('Uw sessie is verlopen; meld u opnieuw aan.');
    throw new Error('niet aangemeld');
  }
  return { status: response.status, data };
}

//! Sends events one after the other, in the order the user made them.
function send(event) {
  return enqueue('/api/event', event);
}

function answer(dialog, result, value) {
  const body = { dialog: dialog.id, answer: { result } };
  if (value !== undefined) body.answer.value = value;
  return enqueue('/api/answer', body);
}

//! The number of events sent and not yet drawn is kept in <html data-pending>, so that whoever
//! drives the page (the browser tests) can wait until it has caught up.
let pending = 0;

function enqueue(path, body) {
  const root = document.documentElement;
  root.dataset.pending = String(++pending);
  queue = queue.then(() => post(path, body)).catch(reportError)
    .finally(() => { root.dataset.pending = String(--pending); });
  return queue;
}

async function post(path, body) {
  const reply = await api('POST', path, body);
  await settle(reply);
}

//! Follows a busy reply until the session rests, showing the progress meanwhile.
async function settle(reply) {
  let shownAt = 0;
  while (reply.status === 200 && reply.data && reply.data.busy) {
    if (!shownAt) shownAt = Date.now();
    showBusy(reply.data.progress);
    reply = await api('GET', '/api/wait?seq=' + reply.data.seq);
  }
  hideBusy();
  if (reply.status !== 200) {
    showToast((reply.data && reply.data.error) || ('Fout ' + reply.status));
    return;
  }
  session.outcome = reply.data;
  render();
}

function reportError(error) {
  if (error && error.message !== 'niet aangemeld') showToast('Verbinding mislukt: ' + error.message);
}

// --------------------------------------------------------------------------------- login/boot

function $(id) { return document.getElementById(id); }

function el(tag, props, children) {
  const node = document.createElement(tag);
  if (props) {
    for (const [key, value] of Object.entries(props)) {
      if (value === undefined || value === null || value === false) continue;
      if (key === 'text') node.textContent = value;
      else if (key === 'class') node.className = value;
      else if (key.startsWith('on')) node.addEventListener(key.slice(2), value);
      else if (key === 'dataset') Object.assign(node.dataset, value);
      // Styles go through the style object: the page's policy refuses style attributes.
      else if (key === 'style') Object.assign(node.style, value);
      else if (value === true) node.setAttribute(key, '');
      else node.setAttribute(key, value);
    }
  }
  for (const child of children || []) {
    if (child !== null && child !== undefined) node.append(child);
  }
  return node;
}

function showLogin(message) {
  $('main').hidden = true;
  $('login').hidden = false;
  $('login-error').textContent = message || '';
  $('login-password').value = '';
  $('werkdatum').value = '';
  delete $('werkdatum').dataset.typing;
  $('werkjaar').textContent = '';
  $('login-user').focus();
}

async function login(event) {
  event.preventDefault();
  $('login-submit').disabled = true;
  try {
    const reply = await api('POST', '/api/login',
      { login: $('login-user').value, password: $('login-password').value });
    if (reply.status === 200) {
      session.csrf = reply.data.csrf;
      session.user = reply.data.user;
      session.notice = reply.data.notice || '';
      await start();
    } else {
      showLogin((reply.data && reply.data.error) || 'Aanmelden mislukt');
    }
  } catch (error) {
    showLogin('De server is niet bereikbaar');
  } finally {
    $('login-submit').disabled = false;
  }
}

async function start() {
  $('login').hidden = true;
  $('main').hidden = false;
  $('user').textContent = session.user.name || session.user.login;
  $('notice').textContent = session.notice;
  $('notice').hidden = !session.notice;
  const menu = await api('GET', '/api/menu');
  session.menu = menu.data;
  renderMenu();
  await settle(await api('GET', '/api/state'));
}

async function boot() {
  $('login-form').addEventListener('submit', login);
  $('logout').addEventListener('click', async () => {
    await api('POST', '/api/logout', {});
    session.csrf = '';
    showLogin('U bent afgemeld.');
  });
  $('davincikleur').addEventListener('change', (event) =>
    send({ type: 'prefs', davinciKleur: event.target.value }));
  $('toonallelesplaatsen').addEventListener('change', (event) =>
    send({ type: 'prefs', vwoToonAlleLesplaatsen: event.target.checked }));
  const werkDatum = $('werkdatum');
  werkDatum.addEventListener('input', () => { werkDatum.dataset.typing = '1'; });
  werkDatum.addEventListener('change', sendWerkDatum);
  werkDatum.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') sendWerkDatum();
    if (event.key === 'Escape') {
      delete werkDatum.dataset.typing;
      render();
    }
  });
  document.addEventListener('keydown', globalKeys);
  try {
    const reply = await fetch('/api/session', { credentials: 'same-origin' });
    if (reply.status === 200) {
      const data = await reply.json();
      session.csrf = data.csrf;
      session.user = data.user;
      session.notice = data.notice || '';
      await start();
      return;
    }
  } catch (error) { /* not logged in */ }
  showLogin('');
}

// --------------------------------------------------------------------------------------- menu

function renderMenu() {
  const nav = $('menu');
  nav.replaceChildren();
  const sections = (session.menu && session.menu.sections) || [];
  if (!sections.length) nav.append(el('p', { class: 'empty', text: 'Geen schermen beschikbaar.' }));
  for (const section of sections) nav.append(menuNode(section, 0));
}

function menuNode(node, depth) {
  if (node.class) {
    return el('button', { type: 'button', class: 'menu-entry', text: node.caption,
      dataset: { class: node.class },
      onclick: () => send({ type: 'open', class: node.class }) });
  }
  const list = el('div', { class: 'menu-items' }, node.items.map((item) => menuNode(item, depth + 1)));
  return el('details', { class: 'menu-group depth-' + depth, open: true },
    [el('summary', { text: node.caption }), list]);
}

// ------------------------------------------------------------------------------------- render

//! True while the page is drawn anew: an editor taken out of the page then fires change and blur,
//! which are not the user's.
let drawing = false;

function render() {
  drawing = true;
  try {
    draw();
  } finally {
    drawing = false;
  }
}

function draw() {
  const outcome = session.outcome;
  if (!outcome || !outcome.state) return;
  const state = outcome.state;
  renderPrefs(state);
  renderTabs(state);
  const host = $('forms');
  const keepScroll = host.scrollTop;
  const focused = focusedControl();
  const typing = typingEditor(focused);
  host.replaceChildren();
  if (state.active) host.append(renderForm(state.active, false));
  else host.append(el('p', { class: 'empty', text: 'Kies een scherm in het menu.' }));
  host.scrollTop = keepScroll;
  renderModals(state.modal || []);
  keepTyping(typing);
  renderDialog(outcome.dialog);
  if (state.print && state.print.id > session.lastPrint) {
    session.lastPrint = state.print.id;
    window.open('/print.html?id=' + state.print.id, '_blank', 'noopener');
  }
  restoreFocus(focused);
}

//! The working date and the display choices in the header. What the user is typing there stays until it is sent (change
//! or Enter); a refused date then shows the working date that stayed.
function renderPrefs(state) {
  const input = $('werkdatum');
  const prefs = state.prefs;
  if (!prefs) return;
  if (!input.dataset.typing) input.value = prefs.werkDatum;
  const modal = (state.modal || []).length > 0;
  input.disabled = modal;
  $('werkjaar').textContent = 'Werkjaar ' + prefs.werkJaar + '-' + (prefs.werkJaar + 1);
  const kleur = $('davincikleur');
  kleur.value = prefs.davinciKleur;
  kleur.disabled = modal;
  const alle = $('toonallelesplaatsen');
  alle.checked = prefs.vwoToonAlleLesplaatsen;
  alle.disabled = modal;
}

function sendWerkDatum() {
  const input = $('werkdatum');
  if (!input.dataset.typing) return;
  delete input.dataset.typing;
  send({ type: 'werkdatum', value: input.value.trim() });
}

function renderTabs(state) {
  const tabs = $('tabs');
  tabs.replaceChildren();
  const activeId = state.active ? state.active.id : 0;
  for (const form of state.forms) {
    const tab = el('div', { class: 'tab' + (form.id === activeId ? ' active' : ''),
      role: 'tab', 'aria-selected': form.id === activeId ? 'true' : 'false', title: form.caption }, [
      el('button', { type: 'button', class: 'tab-caption', text: form.tab || form.caption,
        onclick: () => send({ type: 'activate', form: form.id }) }),
      el('button', { type: 'button', class: 'tab-close', 'aria-label': 'Sluiten', title: 'Sluiten',
        text: '×', onclick: () => send({ type: 'close', form: form.id }) }),
    ]);
    tabs.append(tab);
  }
}

function renderModals(modals) {
  const layer = $('dialogs');
  layer.querySelectorAll('.modal-form').forEach((node) => node.remove());
  for (const form of modals) {
    const box = el('div', { class: 'overlay modal-form' }, [
      el('div', { class: 'dialog-box form-dialog', role: 'dialog', 'aria-modal': 'true',
        'aria-label': form.caption }, [renderForm(form, true)]),
    ]);
    layer.append(box);
  }
}

function renderForm(form, modal) {
  const ctx = { form };
  const header = el('div', { class: 'form-head' }, [
    el('h2', { text: form.caption }),
    modal ? el('button', { type: 'button', class: 'form-close', text: '×', title: 'Sluiten',
      'aria-label': 'Sluiten', onclick: () => send({ type: 'close', form: form.id }) }) : null,
  ]);
  const bar = el('div', { class: 'form-bar' });
  const free = form.actions.filter((a) => a.visible && !a.bound);
  for (const action of free) {
    bar.append(el('button', { type: 'button', class: 'action' + (action.checked ? ' checked' : ''),
      text: plain(action.caption), title: action.hint || null, disabled: !action.enabled,
      dataset: { action: action.name },
      onclick: () => send({ type: 'action', form: form.id, action: action.name }) }));
  }
  if (form.reports && form.reports.length) {
    for (const report of form.reports) {
      bar.append(el('button', { type: 'button', class: 'report', text: 'Afdrukken: ' + report.caption,
        onclick: () => send({ type: 'print', form: form.id, report: report.index }) }));
    }
  }
  const links = (form.links && form.links.length)
    ? el('div', { class: 'form-links' }, [el('span', { class: 'links-title', text: 'Koppelingen:' }),
      ...form.links.map((link) => el('button', { type: 'button', class: 'link', text: link.caption,
        onclick: () => send({ type: 'link', form: form.id, link: link.index }) }))])
    : null;
  const body = el('div', { class: 'form-body' }, form.controls.map((c) => renderControl(c, ctx)));
  return el('section', { class: 'form' + (modal ? ' modal' : ''), dataset: { form: form.id,
    class: form.class } }, [header, free.length || (form.reports || []).length ? bar : null, links, body]);
}

//! Drops the accelerator marks of a caption ("&Code" shows as "Code").
function plain(caption) {
  return (caption || '').replace(/&(.)/g, '$1');
}

function sourceOf(ctx, name) {
  return (ctx.form.sources || []).find((s) => s.name === name) || null;
}

function renderControl(control, ctx) {
  if (!control.visible) return null;
  const render = renderers[control.kind] || renderContainer;
  const node = render(control, ctx);
  if (node) {
    node.dataset.control = control.name;
    if (control.source && control.kind !== 'TDBGrid') node.dataset.source = control.source;
    if (control.hint && !node.title) node.title = control.hint;
    if (control.color) paintable(node).style.backgroundColor = control.color;
  }
  return node;
}

//! What a control's colour paints: the editor of a labelled field, else the control itself.
function paintable(node) {
  if (!node.classList.contains('field')) return node;
  return node.querySelector('input:not([type=color]),select,textarea') || node;
}

function children(control, ctx) {
  return (control.children || []).map((c) => renderControl(c, ctx));
}

function renderContainer(control, ctx) {
  const caption = control.kind === 'TPanel' && control.caption ?
    el('span', { class: 'panel-caption', text: plain(control.caption) }) : null;
  return el('div', { class: 'panel' }, [caption, ...children(control, ctx)]);
}

function valueEvent(ctx, control, value) {
  return send({ type: 'value', form: ctx.form.id, control: control.name, value: String(value) });
}

function labelled(control, input, extra) {
  // The screen's own caption, else the field's label (the host sends the one that applies).
  const caption = plain(control.caption || (control.field && control.field.label));
  const id = 'c' + Math.random().toString(36).slice(2);
  input.id = id;
  const required = control.field && control.field.required;
  return el('div', { class: 'field' }, [
    caption ? el('label', { for: id, text: caption + (required ? ' *' : '') }) : null, input, extra,
  ]);
}

//! An editor sends its value when it is left or Enter is pressed; Enter then posts the record,
//! Escape cancels the edit. A memo (multi) takes Enter as a new line and posts with Ctrl+Enter;
//! its line breaks go to the host as CR LF, the host's own line break.
function textEditor(control, ctx, options) {
  const multi = options && options.multi;
  const input = multi ? el('textarea', { rows: 4 }) : el('input', { type: 'text' });
  const shown = (text) => (multi ? text.replace(/\r\n/g, '\n') : text);
  input.value = control.value || '';
  input.dataset.shown = shown(control.value || '');  // what the host sent (see keepTyping)
  const placeholder = (options && options.placeholder) || (!control.field && control.hint);
  if (placeholder) input.placeholder = placeholder;
  const maxLength = control.maxLength || (control.field && control.field.type === 'string' ?
    control.field.size : 0);
  if (maxLength) input.maxLength = maxLength;
  input.readOnly = !!control.readOnly;
  input.disabled = !control.enabled;
  if (control.field && control.field.required) input.required = true;
  if (control.allowedChars) onlyAllowed(input, control.allowedChars);
  let sent = shown(control.value || '');
  const commit = () => {
    // A drawing takes the editor out of the page for a moment (keepTyping): that is no commit.
    if (input.value === sent || input.readOnly || drawing) return Promise.resolve();
    sent = input.value;
    input.dataset.sent = sent;
    return valueEvent(ctx, control, multi ? input.value.replace(/\n/g, '\r\n') : input.value);
  };
  const post = () => commit().then(() => {
    if (control.source) {
      send({ type: 'command', form: ctx.form.id, source: control.source, command: 'post' });
    }
  });
  input.addEventListener('change', commit);
  input.addEventListener('blur', commit);  // also for an editor kept over a drawing (keepTyping)
  input.addEventListener('keydown', (event) => {
    if (event.key === 'Enter' && (!multi || event.ctrlKey)) {
      event.preventDefault();
      post();
    } else if (event.key === 'Escape' && control.source) {
      event.preventDefault();
      event.stopPropagation();
      sent = input.value;
      input.dataset.sent = sent;
      send({ type: 'command', form: ctx.form.id, source: control.source, command: 'cancel' });
    }
  });
  return input;
}

//! Lets only the given characters be typed, pasted or dropped into an editor (the host checks
//! the value again).
function onlyAllowed(input, allowed) {
  const fits = (text) => [...text].every((c) => allowed.includes(c));
  input.addEventListener('beforeinput', (event) => {
    if (event.data && !fits(event.data)) event.preventDefault();
  });
  input.addEventListener('input', () => {  // whatever came another way (autofill)
    if (!fits(input.value)) input.value = [...input.value].filter((c) => allowed.includes(c)).join('');
  });
}

function placeholderOf(type) {
  if (type === 'date') return 'dd/mm/jjjj';
  if (type === 'time') return 'uu:mm';
  if (type === 'datetime') return 'dd/mm/jjjj uu:mm';
  return undefined;
}

function choiceSelect(control, ctx) {
  const select = el('select', { disabled: !control.enabled || control.readOnly });
  select.append(el('option', { value: '', text: '' }));
  let found = false;
  for (const item of control.items || []) {
    const option = el('option', { value: item.key, text: item.text });
    if (item.key === control.value) { option.selected = true; found = true; }
    select.append(option);
  }
  if (!found && control.value) {
    select.append(el('option', { value: control.value, text: control.display || control.value,
      selected: true }));
  }
  select.addEventListener('change', () => valueEvent(ctx, control, select.value));
  return select;
}

//! A list the user narrows with a search text (sent on Enter or when the field is left), then
//! picks from: the search control and the municipality chooser.
function searchChooser(control, ctx) {
  const search = el('input', { type: 'search', class: 'search', placeholder: 'Zoeken...',
    'aria-label': 'Zoeken', disabled: !control.enabled || control.readOnly });
  search.value = control.searchText || '';
  search.addEventListener('change', () => send({ type: 'search', form: ctx.form.id,
    control: control.name, text: search.value }));
  const field = labelled(control, choiceSelect(control, ctx));
  const label = field.querySelector('label');
  if (label) label.after(search);
  else field.prepend(search);
  return field;
}

const renderers = {
  TPanel: renderContainer,
  TTabSheet: renderContainer,
  TGroupBox(control, ctx) {
    return el('fieldset', { class: 'group' },
      [control.caption ? el('legend', { text: plain(control.caption) }) : null, ...children(control, ctx)]);
  },
  TPageControl(control, ctx) {
    const sheets = (control.children || []).filter((s) => s.visible && s.tabVisible !== false);
    const all = control.children || [];
    const active = all[control.active];
    const heads = el('div', { class: 'page-tabs', role: 'tablist' }, sheets.map((sheet) => {
      const index = all.indexOf(sheet);
      return el('button', { type: 'button', role: 'tab', text: plain(sheet.caption),
        class: 'page-tab' + (index === control.active ? ' active' : ''),
        disabled: !control.enabled,
        onclick: () => valueEvent(ctx, control, index) });
    }));
    const page = active && active.visible ? renderControl(active, ctx) : null;
    return el('div', { class: 'pages' }, [heads, page]);
  },
  TLabel(control) {
    return el('span', { class: 'label', text: plain(control.caption) });
  },
  TButton(control, ctx) {
    return el('button', { type: 'button', class: 'button' + (control.default ? ' default' : ''),
      text: plain(control.caption), disabled: !control.enabled,
      dataset: { default: control.default ? '1' : null, cancel: control.cancel ? '1' : null },
      onclick: () => send({ type: 'click', form: ctx.form.id, control: control.name }) });
  },
  TCheckBox(control, ctx) {
    const box = el('input', { type: 'checkbox', disabled: !control.enabled });
    box.checked = !!control.checked;
    box.addEventListener('change', () => valueEvent(ctx, control, box.checked ? '1' : '0'));
    return el('label', { class: 'check' }, [box, ' ' + plain(control.caption)]);
  },
  TRadioGroup(control, ctx) {
    const name = 'r' + Math.random().toString(36).slice(2);
    return el('fieldset', { class: 'radio' }, [
      control.caption ? el('legend', { text: plain(control.caption) }) : null,
      ...control.items.map((item, index) => {
        const radio = el('input', { type: 'radio', name, disabled: !control.enabled });
        radio.checked = index === control.index;
        radio.addEventListener('change', () => valueEvent(ctx, control, index));
        return el('label', { class: 'check' }, [radio, ' ' + plain(item)]);
      })]);
  },
  TEdit(control, ctx) { return labelled(control, textEditor(control, ctx)); },
  TDateEdit(control, ctx) {
    return labelled(control, textEditor(control, ctx, { placeholder: 'dd/mm/jjjj' }));
  },
  TTimeEdit(control, ctx) {
    return labelled(control, textEditor(control, ctx, { placeholder: 'uu:mm' }));
  },
  TComboBox(control, ctx) {
    if (control.free) {
      const listId = 'l' + Math.random().toString(36).slice(2);
      const input = textEditor(control, ctx);
      input.setAttribute('list', listId);
      return labelled(control, input,
        el('datalist', { id: listId }, control.items.map((i) => el('option', { value: i }))));
    }
    const select = el('select', { disabled: !control.enabled });
    control.items.forEach((item, index) => {
      const option = el('option', { value: item, text: item });
      option.selected = index === control.index;
      select.append(option);
    });
    if (control.index < 0) select.prepend(el('option', { value: '', text: '', selected: true }));
    select.addEventListener('change', () => valueEvent(ctx, control, select.value));
    return labelled(control, select);
  },
  TCheckListBox(control, ctx) {
    return el('div', { class: 'checklist' }, control.items.map((item, index) => {
      const box = el('input', { type: 'checkbox', disabled: !control.enabled });
      box.checked = !!control.checked[index];
      box.addEventListener('change', () => send({ type: 'check', form: ctx.form.id,
        control: control.name, index, checked: box.checked }));
      return el('label', { class: 'check' }, [box, ' ' + item]);
    }));
  },
  TLookupCombo(control, ctx) { return labelled(control, choiceSelect(control, ctx)); },
  TSearchControl: searchChooser,
  TSelectGemeenteFrame: searchChooser,
  TColorButton(control, ctx) {
    const input = el('input', { type: 'color', class: 'colour', disabled: !control.enabled });
    input.value = control.value || '#ffffff';
    input.addEventListener('change', () => valueEvent(ctx, control, input.value));
    return labelled(control, input);
  },
  TStringGrid(control, ctx) {
    const table = el('table', { class: 'grid strings' });
    control.cells.forEach((line, row) => {
      const tr = el('tr');
      line.forEach((cell, col) => {
        const fixed = row < control.fixedRows || col < control.fixedCols;
        const td = el(fixed ? 'th' : 'td', { text: cell,
          class: row === control.row && col === control.col ? 'current' : null });
        if (!fixed) td.addEventListener('click', () => valueEvent(ctx, control, col + ',' + row));
        tr.append(td);
      });
      table.append(tr);
    });
    return el('div', { class: 'grid-wrap' }, [table]);
  },
  TProgressBar(control) {
    const bar = el('progress', { max: control.max - control.min });
    bar.value = control.position - control.min;
    return labelled(control, bar);
  },
  TPlanner: renderPlanner,
  TDBEdit(control, ctx) {
    const type = control.field ? control.field.type : 'string';
    return labelled(control, textEditor(control, ctx,
      { multi: type === 'memo', placeholder: placeholderOf(type) }));
  },
  TDBCheckBox(control, ctx) {
    const box = el('input', { type: 'checkbox', disabled: !control.enabled || control.readOnly });
    box.checked = !!control.checked;
    box.addEventListener('change', () => valueEvent(ctx, control, box.checked ? '1' : '0'));
    return el('label', { class: 'check' }, [box, ' ' + plain(control.caption ||
      (control.field && control.field.label))]);
  },
  TDBLookupCombo(control, ctx) { return labelled(control, choiceSelect(control, ctx)); },
  TDBGrid: renderGrid,
  TSelectionPanel: renderSelection,
};

//! What is available on the left, what is chosen on the right, the buttons that move records
//! between them in a column in between; a double click on a row does what the screen says.
function renderSelection(control, ctx) {
  const all = control.children || [];
  const side = (name, which) => el('div', { class: 'selection-side ' + which },
    [renderControl(all.find((c) => c.name === name) || { visible: false }, ctx)]);
  const buttons = all.filter((c) => c.name !== control.available && c.name !== control.chosen);
  return el('div', { class: 'selection' }, [
    side(control.available, 'available'),
    el('div', { class: 'selection-buttons' }, buttons.map((c) => renderControl(c, ctx))),
    side(control.chosen, 'chosen'),
  ]);
}

//! ISO 8601 week number of a date.
function isoWeek(date) {
  const d = new Date(Date.UTC(date.getFullYear(), date.getMonth(), date.getDate()));
  const day = d.getUTCDay() || 7;
  d.setUTCDate(d.getUTCDate() + 4 - day);
  const yearStart = new Date(Date.UTC(d.getUTCFullYear(), 0, 1));
  return Math.ceil(((d - yearStart) / 86400000 + 1) / 7);
}

//! A month calendar. The screen may name the months and days, ask for week numbers (under its
//! week label), offer the months of one school year (September to August) as a row of buttons,
//! and let the user create an item on a day ("+") and delete an item ("×"); a double click on an
//! item edits it, on a day does what the screen says.
function renderPlanner(control, ctx) {
  const picked = new Set((control.picked || '').split(';').filter(Boolean));
  const byDate = {};
  (control.items || []).forEach((item, index) =>
    (byDate[item.date] = byDate[item.date] || []).push({ ...item, index }));
  const months = control.monthNames || ['januari', 'februari', 'maart', 'april', 'mei', 'juni',
    'juli', 'augustus', 'september', 'oktober', 'november', 'december'];
  const dayNames = control.dayNames || ['ma', 'di', 'wo', 'do', 'vr', 'za', 'zo'];
  const weeks = !!control.weekLabel;
  const first = new Date(control.year, control.month - 1, 1);
  const days = new Date(control.year, control.month, 0).getDate();
  const offset = (first.getDay() + 6) % 7;  // Monday first
  const table = el('table', { class: 'planner' });
  table.append(el('tr', null, [weeks ? el('th', { class: 'week', text: control.weekLabel }) : null,
    ...dayNames.map((d) => el('th', { text: d }))]));
  const dblclick = (extra) => send({ type: 'dblclick', form: ctx.form.id, control: control.name, ...extra });
  const itemOp = (extra) => send({ type: 'planner', form: ctx.form.id, control: control.name, ...extra });
  const newRow = (day) => el('tr', null, weeks ?
    [el('td', { class: 'week', text: String(isoWeek(new Date(control.year, control.month - 1, day))) })] : []);
  let tr = newRow(1);
  for (let i = 0; i < offset; i++) tr.append(el('td'));
  for (let day = 1; day <= days; day++) {
    const date = String(day).padStart(2, '0') + '/' + String(control.month).padStart(2, '0') + '/' + control.year;
    const items = byDate[date] || [];
    const create = control.canCreate ? el('button', { type: 'button', class: 'day-create', text: '+',
      title: 'Nieuw op ' + date, 'aria-label': 'Nieuw op ' + date,
      onclick: (e) => { e.stopPropagation(); itemOp({ op: 'create', date }); } }) : null;
    const td = el('td', { class: 'day' + (picked.has(date) ? ' picked' : '') + (items.length ? ' marked' : ''),
      'data-date': date, title: date },
      [el('span', { class: 'day-number', text: String(day) }), create,
        ...items.map((item) => {
          const remove = control.canDelete ? el('button', { type: 'button', class: 'day-delete',
            text: '×', title: 'Verwijderen', 'aria-label': 'Verwijderen',
            onclick: (e) => { e.stopPropagation(); itemOp({ op: 'delete', item: item.index }); } }) : null;
          const tag = el('div', { class: 'day-item', 'data-item': String(item.index) },
            [el('div', { class: 'day-caption' }, [el('span', { text: item.text }), remove]),
              ...(item.lines || []).map((line) => el('div', { class: 'day-line', text: line }))]);
          if (item.color) tag.style.backgroundColor = item.color;
          tag.addEventListener('dblclick', (e) => { e.stopPropagation(); dblclick({ item: item.index }); });
          return tag;
        })]);
    td.addEventListener('click', () => valueEvent(ctx, control, date));
    td.addEventListener('dblclick', () => dblclick({ date }));
    tr.append(td);
    if ((offset + day) % 7 === 0) { table.append(tr); tr = newRow(day + 1); }
  }
  if (tr.children.length > (weeks ? 1 : 0)) table.append(tr);
  const show = (year, month) => send({ type: 'month', form: ctx.form.id, control: control.name, year, month });
  const move = (delta) => {
    const m = control.month - 1 + delta;
    show(control.year + Math.floor(m / 12), ((m % 12) + 12) % 12 + 1);
  };
  // Within a school year the first month is September of its year, the last August after it.
  const index = control.schoolYear ? (control.year - control.schoolYear) * 12 + control.month - 9 : null;
  const year = control.schoolYear ? el('div', { class: 'planner-year' },
    Array.from({ length: 12 }, (_, i) => {
      const month = (8 + i) % 12 + 1;
      const y = control.schoolYear + (month < 9 ? 1 : 0);
      return el('button', { type: 'button', class: 'planner-month' + (i === index ? ' active' : ''),
        text: months[month - 1], 'aria-pressed': String(i === index), onclick: () => show(y, month) });
    })) : null;
  return el('div', { class: 'planner-wrap' }, [
    year,
    el('div', { class: 'planner-head' }, [
      el('button', { type: 'button', text: '◀', 'aria-label': 'Vorige maand',
        disabled: index !== null && index <= 0, onclick: () => move(-1) }),
      el('span', { class: 'planner-title', text: months[control.month - 1] + ' ' + control.year }),
      el('button', { type: 'button', text: '▶', 'aria-label': 'Volgende maand',
        disabled: index !== null && index >= 11, onclick: () => move(1) }),
    ]), table]);
}

function renderGrid(control, ctx) {
  const source = sourceOf(ctx, control.source) || {};
  const id = ctx.form.id;
  const command = (name) => send({ type: 'command', form: id, source: control.source, command: name });
  const editing = source.state === 'edit' || source.state === 'insert';
  const active = source.state && source.state !== 'inactive';
  // A grid's readOnly keeps edits out of its cells (this grid never edits in them); adding,
  // changing and deleting records follow the rights of its source.
  const writable = active && !source.readOnly;
  // A plain dialog has no named sources to send commands to: its grids only show and pick.
  const nav = !ctx.form.sources ? null : el('div', { class: 'navigator' }, [
    navButton('|◀', 'Eerste', !active || control.recNo <= 1, () => command('first')),
    navButton('◀', 'Vorige', !active || control.recNo <= 1, () => command('prior')),
    navButton('▶', 'Volgende', !active || control.recNo >= control.count, () => command('next')),
    navButton('▶|', 'Laatste', !active || control.recNo >= control.count, () => command('last')),
    navButton('Nieuw', 'Nieuw record', !writable || editing || !source.canInsert, () => command('append')),
    navButton('Wijzigen', 'Record wijzigen', !writable || editing || !source.canEdit || !control.count,
      () => command('edit')),
    navButton('Bewaren', 'Wijzigingen bewaren (Enter)', !editing, () => command('post')),
    navButton('Annuleren', 'Wijzigingen annuleren (Esc)', !editing, () => command('cancel')),
    navButton('Verwijderen', 'Record verwijderen', !writable || !source.canDelete || !control.count,
      () => command('delete')),
    navButton('Vernieuwen', 'Opnieuw ophalen', !active, () => command('refresh')),
  ]);
  const head = el('tr', null, [el('th', { class: 'marker' }),
    ...control.columns.map((c) => el('th', { text: plain(c.title),
      class: numeric(c.type) && !c.colour ? 'num' : null }))]);
  const table = el('table', { class: 'grid', role: 'grid' }, [el('thead', null, [head])]);
  const body = el('tbody');
  for (const row of control.rows) {
    const current = row.recNo === control.recNo;
    const tr = el('tr', { class: current ? 'current' : null, dataset: { recno: row.recNo },
      style: row.color ? { color: row.color } : null },
      [el('td', { class: 'marker', text: current ? (editing ? '✎' : '▸') : '' })]);
    // A row colour of the screen paints the rows other than the current one.
    if (row.background && !current) tr.style.backgroundColor = row.background;
    row.cells.forEach((cell, index) => {
      const column = control.columns[index] || {};
      const td = el('td', { text: cell, class: numeric(column.type) && !column.colour ? 'num' : null });
      const colour = row.colours && row.colours[index];
      if (colour) td.style.backgroundColor = colour;
      else if (column.color) td.style.backgroundColor = column.color;
      tr.append(td);
    });
    // Picking a row sets the grid's value (its record number): plain dialogs have grids too,
    // without named sources, and a disabled grid refuses it. In a grid of several picked rows
    // Ctrl+click adds a row to the picked ones (or takes it out), in the order picked.
    if (control.multiSelect && (control.selected || []).includes(row.recNo)) tr.classList.add('picked');
    tr.addEventListener('click', (event) => {
      if (control.multiSelect && (event.ctrlKey || event.metaKey)) {
        const picked = (control.selected || []).filter((n) => n !== row.recNo);
        if (picked.length === (control.selected || []).length) picked.push(row.recNo);
        if (picked.length) valueEvent(ctx, control, picked.join(';'));
      } else if (!current || (control.selected || []).length > 1) {
        valueEvent(ctx, control, row.recNo);
      }
    });
    if (control.dblClick) {
      tr.addEventListener('dblclick', () => send({ type: 'dblclick', form: id, control: control.name,
        recNo: row.recNo }));
    }
    body.append(tr);
  }
  table.append(body);
  const size = control.pageSize || 50;
  const from = control.count ? control.top + 1 : 0;
  const to = Math.min(control.count, control.top + size);
  const view = (top) => send({ type: 'view', form: id, control: control.name, top });
  const pager = el('div', { class: 'pager' }, [
    navButton('« Vorige pagina', 'Vorige pagina', control.top <= 0, () => view(Math.max(0, control.top - size))),
    el('span', { class: 'pager-info', text: from + '–' + to + ' van ' + control.count }),
    navButton('Volgende pagina »', 'Volgende pagina', to >= control.count, () => view(control.top + size)),
  ]);
  return el('div', { class: 'dbgrid' + (control.enabled ? '' : ' disabled') },
    [nav, el('div', { class: 'grid-wrap' }, [table]), pager]);
}

function navButton(text, title, disabled, onclick) {
  return el('button', { type: 'button', class: 'nav', text, title, 'aria-label': title, disabled, onclick });
}

function numeric(type) {
  return type === 'integer' || type === 'largeint' || type === 'float' || type === 'currency';
}

// ------------------------------------------------------------------------------------ dialogs

const dialogTitles = { error: 'Fout', warning: 'Waarschuwing', information: 'Informatie',
  confirmation: 'Bevestiging', custom: 'kavel' };

function renderDialog(dialog) {
  const layer = $('dialogs');
  layer.querySelectorAll('.message').forEach((node) => node.remove());
  if (!dialog) return;
  const input = dialog.kind === 'input' ? el('input', { type: 'text', class: 'dialog-input' }) : null;
  if (input) input.value = dialog.value || '';
  const buttons = (dialog.buttons || []).map((button, index) => el('button', {
    type: 'button', class: 'button' + (index === 0 ? ' default' : ''), text: button.caption,
    dataset: { result: button.result },
    onclick: () => answer(dialog, button.result, input ? input.value : undefined),
  }));
  const box = el('div', { class: 'dialog-box ' + (dialog.type || 'custom'), role: 'alertdialog',
    'aria-modal': 'true', 'aria-labelledby': 'dialog-title' }, [
    el('h3', { id: 'dialog-title', text: dialog.caption || dialogTitles[dialog.type] || 'kavel' }),
    el('p', { class: 'dialog-text', text: dialog.text }),
    input,
    el('div', { class: 'dialog-buttons' }, buttons),
  ]);
  box.dataset.dialog = dialog.id;
  layer.append(el('div', { class: 'overlay message' }, [box]));
  (input || buttons[0]).focus();
}

function globalKeys(event) {
  const message = document.querySelector('.overlay.message .dialog-box');
  if (message) {
    const buttons = [...message.querySelectorAll('.dialog-buttons button')];
    if (event.key === 'Enter' && document.activeElement && document.activeElement.tagName === 'INPUT') {
      event.preventDefault();
      buttons[0].click();
    } else if (event.key === 'Escape') {
      event.preventDefault();
      const cancel = buttons.find((b) => b.dataset.result === '2') || buttons[buttons.length - 1];
      cancel.click();
    }
    return;
  }
  const modal = document.querySelector('.overlay.modal-form:last-of-type');
  if (modal && event.key === 'Escape') {
    const cancel = modal.querySelector('button[data-cancel="1"]') || modal.querySelector('.form-close');
    if (cancel) { event.preventDefault(); cancel.click(); }
    return;
  }
  if (event.defaultPrevented || (event.key !== 'Enter' && event.key !== 'Escape')) return;
  // Text editors post and cancel themselves; here the other editors (lists, check boxes) and
  // Escape anywhere in a screen whose record is being edited.
  const target = event.target instanceof Element ? event.target : null;
  const formNode = target && target.closest('[data-form]');
  const form = formNode && findForm(Number(formNode.dataset.form));
  if (!form) return;
  const bound = target.closest('[data-source]');
  if (event.key === 'Enter' && bound && (target.tagName === 'SELECT' || target.type === 'checkbox')) {
    event.preventDefault();
    send({ type: 'command', form: form.id, source: bound.dataset.source, command: 'post' });
  } else if (event.key === 'Escape') {
    const editing = (form.sources || []).filter((s) => s.state === 'edit' || s.state === 'insert');
    const source = (bound && editing.find((s) => s.name === bound.dataset.source)) || editing[0];
    if (source) {
      event.preventDefault();
      send({ type: 'command', form: form.id, source: source.name, command: 'cancel' });
    }
  }
}

function findForm(id) {
  const state = session.outcome && session.outcome.state;
  if (!state) return null;
  return [state.active, ...(state.modal || [])].find((f) => f && f.id === id) || null;
}

// ------------------------------------------------------------------------------- busy, notes

let busyTimer = null;

function showBusy(progress) {
  const bars = (progress && progress.bars) || [];
  const bar = $('busy-bar');
  if (bars.length) {
    const b = bars[0];
    bar.max = Math.max(1, b.max - b.min);
    bar.value = b.position - b.min;
    $('busy-text').textContent = (b.caption || b.form || 'Bezig') + ': ' +
      Math.round(100 * (b.position - b.min) / Math.max(1, b.max - b.min)) + '%';
  } else {
    bar.removeAttribute('value');
    $('busy-text').textContent = 'Bezig...';
  }
  if (!busyTimer && $('busy').hidden) busyTimer = setTimeout(() => { $('busy').hidden = false; }, 250);
}

function hideBusy() {
  clearTimeout(busyTimer);
  busyTimer = null;
  $('busy').hidden = true;
}

function showToast(text) {
  const note = el('div', { class: 'toast', role: 'status', text });
  document.body.append(note);
  setTimeout(() => note.remove(), 6000);
}

//! The control that has the focus, so that drawing anew does not lose the user's place: which of
//! its inputs (a search chooser has two) and where the caret was.
function focusedControl() {
  const active = document.activeElement;
  if (!active || active === document.body) return null;
  const control = active.closest('[data-control]');
  const form = active.closest('[data-form]');
  if (!control || !form) return null;
  const place = { form: form.dataset.form, control: control.dataset.control,
    index: Math.max(0, focusables(control).indexOf(active)) };
  if (typeof active.selectionStart === 'number') {
    place.selection = [active.selectionStart, active.selectionEnd];
  }
  return place;
}

//! The text editor the user is typing in: focused, with text the host has not been sent yet (nor
//! given up with Escape).
function typingEditor(focused) {
  const active = document.activeElement;
  if (!focused || !active || active.dataset.shown === undefined) return null;
  const typed = active.value !== active.dataset.shown && active.value !== active.dataset.sent;
  return typed ? { ...focused, node: active } : null;
}

//! An answer that arrives while the user types in another editor (the answer to the editor they
//! just left) must not throw the typed text away: the new drawing gets the editor being typed in,
//! unless the host changed that editor's value meanwhile.
function keepTyping(typing) {
  if (!typing) return;
  const control = document.querySelector('[data-form="' + typing.form + '"] [data-control="' +
    CSS.escape(typing.control) + '"]');
  const fresh = focusables(control)[typing.index];
  const node = typing.node;
  // The host shows what it showed before, or what this editor sent it: nothing else changed it.
  const unchanged = fresh && (fresh.dataset.shown === node.dataset.shown ||
    fresh.dataset.shown === node.dataset.sent);
  if (!unchanged || fresh.tagName !== node.tagName || fresh.readOnly || fresh.disabled) return;
  node.dataset.shown = fresh.dataset.shown;
  node.id = fresh.id;  // the new label points at it
  node.style.backgroundColor = fresh.style.backgroundColor;
  fresh.replaceWith(node);
}

function focusables(node) {
  if (!node) return [];
  return node.matches('input,select,textarea,button') ? [node] :
    [...node.querySelectorAll('input,select,textarea,button')];
}

function restoreFocus(previous) {
  const outcome = session.outcome;
  if (!outcome || outcome.dialog) return;
  const form = (outcome.state.modal || []).slice(-1)[0] || outcome.state.active;
  if (!form) return;
  // Where the user was; after a message, the control the screen put the focus on.
  const wanted = previous || (form.focus ? { form: String(form.id), control: form.focus } : null);
  if (!wanted) return;
  const node = document.querySelector('[data-form="' + wanted.form + '"] [data-control="' +
    CSS.escape(wanted.control) + '"]');
  const inputs = focusables(node);
  const target = inputs[wanted.index || 0] || inputs[0];
  if (!target || target.disabled) return;
  target.focus();
  if (wanted.selection && typeof target.selectionStart === 'number') {
    const end = target.value.length;
    target.setSelectionRange(Math.min(wanted.selection[0], end), Math.min(wanted.selection[1], end));
  }
}

boot();
