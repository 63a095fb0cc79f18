// The printable listing of a report: the list of the screen, its title and its parameters.
'use strict';

function cell(tag, text) {
  const node = document.createElement(tag);
  node.textContent = text;
  return node;
}

async function show() {
  document.getElementById('print').addEventListener('click', () => window.print());
  document.getElementById('close').addEventListener('click', () => window.close());
  const id = new URLSearchParams(location.search).get('id');
  const reply = await fetch('/api/report?id=' + encodeURIComponent(id), { credentials: 'same-origin' });
  const data = await reply.json();
  if (reply.status !== 200) {
    document.getElementById('title').textContent = data.error || 'Deze afdruk is niet beschikbaar';
    return;
  }
  document.title = data.title + ' - kavel';
  document.getElementById('title').textContent = data.title;
  document.getElementById('caption').textContent = data.caption;
  const params = document.getElementById('params');
  for (const param of data.params) params.append(cell('dt', param.name), cell('dd', param.value));
  const head = document.createElement('tr');
  for (const column of data.columns) head.append(cell('th', column.replace(/&(.)/g, '$1')));
  document.querySelector('#listing thead').append(head);
  const body = document.querySelector('#listing tbody');
  for (const row of data.rows) {
    const tr = document.createElement('tr');
    for (const value of row) tr.append(cell('td', value));
    body.append(tr);
  }
  if (data.cut) {
    document.getElementById('note').textContent =
      'Alleen de eerste ' + data.rows.length + ' van ' + data.count + ' records zijn afgedrukt.';
  }
  document.getElementById('printed').textContent =
    data.count + ' records - afgedrukt op ' + data.printed + (data.file ? ' - ' + data.file : '');
}

show();
