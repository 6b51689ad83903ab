// The page's glue: it carries out the form's accessors on the HTML elements
// and forwards the elements' events to the form, in the WebAssembly. What
// the window does is the form's; what is here is how a browser does it.
// It runs just after the window's first paint (ui/web/after_paint.js),
// starts the module (ui/web/form1_page.h), which the browser compiles
// apart from the page's own work, and once it runs wires the window and
// replays what the body kept meanwhile.
'use strict';
var QuorvelPage = (function () {
  var names = @NAMES@;
  // The commands of ui/commands.h: whether each reads the clipboard; its
  // index is its id. The form matches their keys (commandFor).
  var commands = @COMMANDS@;
  var controls = names.map(function (name) { return document.getElementById(name); });
  var dialog = document.getElementById('message');
  var dialogText = document.getElementById('message-text');
  var module = null; // the WebAssembly, once it runs
  var ended = false;
  var pending = null; // a command that reads the clipboard, until a paste or the page brings it
  var running = -1; // the command that runs, for a refusal that comes later
  var focusBefore = null; // where the focus goes back to when a message closes
  var sheet = document.getElementById('sheet');
  // A command's own print, whose sheets are filled already, until the
  // browser says it has printed: its print may come after window.print()
  // has returned (headless browsers, WebDriver).
  var commandPrint = false;
  var measure = null, measuredFont = ''; // a canvas's context, for the widths of the sheets' texts

  // A canvas's context in the font, to measure the sheets' texts with.
  function measured(font) {
    if (!measure) measure = document.createElement('canvas').getContext('2d');
    if (measuredFont !== font) measure.font = measuredFont = font;
    return measure;
  }

  function isInput(element) { return element && element.tagName === 'INPUT' && element.type === 'text'; }
  function radio(id) { return controls[id].querySelector('input'); }

  // A JavaScript string in a module's memory as UTF-8, for `use`, with its
  // length in bytes, then freed.
  function withUtf8(into, text, use) {
    var length = into.lengthBytesUTF8(text);
    var at = into._malloc(length + 1);
    into.stringToUTF8(text, at, length + 1);
    try { return use(at, length); } finally { into._free(at); }
  }

  function showMessage(icon, text) {
    dialog.className = ['information', 'warning', 'error'][icon];
    dialogText.textContent = text;
    if (typeof dialog.showModal !== 'function') { // browsers without <dialog>
      window.alert(text);
      return;
    }
    if (!dialog.open) {
      focusBefore = document.activeElement;
      dialog.showModal();
    }
    document.getElementById('message-ok').focus();
  }

  // The browser would not let the page at the clipboard for a command: the
  // form says so.
  function refused(command, reading) {
    if (!ended) module._quorvel_clipboard_refused(command, reading ? 1 : 0);
  }

  function copy(text) {
    var copied = false;
    function onCopy(event) {
      event.clipboardData.setData('text/plain', text);
      event.preventDefault();
      copied = true;
    }
    document.addEventListener('copy', onCopy);
    try { document.execCommand('copy'); } catch (e) { /* refused: below */ }
    document.removeEventListener('copy', onCopy);
    if (copied) return true;
    if (!navigator.clipboard || !navigator.clipboard.writeText) return false;
    var command = running;
    navigator.clipboard.writeText(text).catch(function () { refused(command, false); });
    return true;
  }

  function run(command, text) {
    running = command;
    try {
      withUtf8(module, text, function (at, length) { module._quorvel_run(command, at, length); });
    } finally {
      running = -1;
    }
  }
  // A command that reads the clipboard: a paste into a box brings its text
  // without asking (Ctrl+Shift+V is the browser's paste as plain text);
  // otherwise the page asks, and a paste into a box meanwhile brings it too.
  function runWithClipboard(command, inBox) {
    pending = command;
    function ask() {
      if (pending !== command) return; // a paste has brought it
      if (!navigator.clipboard || !navigator.clipboard.readText) {
        pending = null;
        return refused(command, true);
      }
      navigator.clipboard.readText().then(function (text) {
        if (pending === command && !ended) { pending = null; run(command, text); }
      }, function () {
        if (pending === command) { pending = null; refused(command, true); }
      });
    }
    if (inBox) setTimeout(ask, 0); else ask();
  }

  function end(text) {
    ended = true;
    try { window.close(); } catch (e) { /* only a tab a script opened closes */ }
    document.body.textContent = '';
    var line = document.createElement('p');
    line.textContent = text;
    document.body.appendChild(line);
  }

  function enter(id, event) {
    if (event.key !== 'Enter' || event.isComposing) return false;
    event.preventDefault(); // or its keypress would reach a message's button
    module._quorvel_enter(id);
    return true;
  }

  // The command a key runs, as the form matches keys, by the letter it
  // types or, on a keyboard of other letters, by its place; -1 for none.
  // Cmd stands for Ctrl on a Mac.
  function commandFor(event) {
    var key = event.key || '', code = event.code || '';
    var letter = /^[a-z]$/i.test(key) ? key.toUpperCase() : /^Key[A-Z]$/.test(code) ? code.slice(3) : '';
    if (!letter || !module) return -1;
    return module._quorvel_command_of_key(letter.charCodeAt(0), event.ctrlKey || event.metaKey,
                                          event.shiftKey, event.altKey);
  }

  function shortcut(event) {
    var command = ended ? -1 : commandFor(event);
    if (command < 0) return;
    if (!commands[command].clipboard) {
      event.preventDefault(); // the command, not the browser's (printing, developer tools)
      run(command, '');
      return;
    }
    // In a box, the browser's own paste as plain text brings the text.
    var inBox = isInput(document.activeElement);
    if (!inBox || event.key.toLowerCase() !== 'v') event.preventDefault();
    runWithClipboard(command, inBox);
  }

  // A paste into box `id`: the text for a command that waits for it, or
  // for the form; true where either takes it, and the browser's own paste
  // is not wanted. A paste kept from before the window was wired has been
  // made by the browser already: what takes it writes over it.
  function pasted(id, text) {
    if (pending !== null) {
      var command = pending;
      pending = null;
      run(command, text);
      return true;
    }
    return withUtf8(module, text, function (at, length) { return module._quorvel_paste(id, at, length); });
  }

  // What was clicked or pressed before the code ran (the body kept it), in
  // its order, as the handlers below would have taken it.
  function replay(events) {
    events.forEach(function (event) {
      var owner = event.target && event.target.closest ? event.target.closest('[id]') : null;
      var id = owner ? names.indexOf(owner.id) : -1;
      var element = controls[id];
      if (event.type === 'change' && element && element.classList.contains('option')) {
        module._quorvel_click(id);
      } else if (event.type === 'click' && element && element.tagName === 'BUTTON') {
        module._quorvel_click(id);
      } else if (event.type === 'keydown' && !(isInput(element) && enter(id, event))) {
        shortcut(event);
      } else if (event.type === 'paste' && isInput(element)) {
        pasted(id, event.quorvelText || '');
      }
    });
  }

  function wire() {
    controls.forEach(function (element, id) {
      if (element.classList.contains('option')) {
        radio(id).addEventListener('change', function () { module._quorvel_click(id); });
      } else if (element.tagName === 'BUTTON') {
        element.addEventListener('click', function () { module._quorvel_click(id); });
      } else if (isInput(element)) {
        element.addEventListener('keydown', function (event) { enter(id, event); });
        element.addEventListener('paste', function (event) {
          var text = event.clipboardData ? event.clipboardData.getData('text/plain') : '';
          if (pasted(id, text)) event.preventDefault();
        });
      }
    });
    document.addEventListener('keydown', shortcut);
    // The browser's own Print prints the sheet of the boxes' calculation too.
    window.addEventListener('beforeprint', function () {
      if (!commandPrint && !ended) module._quorvel_fill_sheet();
    });
    window.addEventListener('afterprint', function () { commandPrint = false; });
    document.getElementById('message-ok').addEventListener('click', function () { dialog.close(); });
    // A click beside the button must not take the focus from it.
    dialog.addEventListener('mousedown', function (event) {
      if (event.target.tagName !== 'BUTTON') event.preventDefault();
    });
    dialog.addEventListener('close', function () {
      if (focusBefore && document.contains(focusBefore)) focusBefore.focus();
    });
    // The focus starts in the first box of the tab order at once, as the
    // window is wired: a browser moves it to the autofocus box only at its
    // first rendering, which a busy machine puts off past the first key.
    var first = document.querySelector('[autofocus]');
    if (first && (!document.activeElement || document.activeElement === document.body)) first.focus();
    var early = window.QuorvelEarly || [];
    window.QuorvelEarly = null;
    ['onclick', 'onchange', 'onkeydown', 'onpaste'].forEach(function (name) { document.body.removeAttribute(name); });
    replay(early);
    if (window.performance && performance.mark) performance.mark('quorvel-ready');
  }

  // The browser compiles the module apart; it runs, and calls on
  // QuorvelPage, only once this script has ended.
  createQuorvel({ wasm: QuorvelUnpacked('wasm') }).then(function (started) {
    module = started;
    wire();
  });

  return {
    text: function (id) { return controls[id].value; },
    setText: function (id, text) {
      controls[id].value = text;
      controls[id].setSelectionRange(0, 0); // the start in view
      controls[id].scrollLeft = 0;
    },
    setCaption: function (id, text) { controls[id].textContent = text; },
    setVisible: function (id, visible) { controls[id].hidden = !visible; },
    isSelected: function (id) { return radio(id).checked; },
    showMessage: showMessage,
    setHint: function (id, text) {
      if (text) controls[id].title = text; else controls[id].removeAttribute('title');
    },
    setDescription: function (id, text) {
      var unit = names[id] + '-unit';
      document.getElementById(unit).textContent = text;
      // WebKit keeps the description that a box had while it was hidden,
      // unless the reference to it is set anew.
      controls[id].removeAttribute('aria-describedby');
      controls[id].setAttribute('aria-describedby', unit);
    },
    end: end,
    copy: copy,
    fillSheet: function (html) { sheet.innerHTML = html; },
    // How wide a text is in a CSS font, in millimetres, as the page draws it.
    textWidth: function (font, text) {
      return measured(font).measureText(text).width * 25.4 / 96;
    },
    // The font's box above its baseline, or below it; where the browser
    // does not say (before Chrome 87, Firefox 116, Safari 11.1), four
    // fifths of the size above and one fifth below.
    fontBox: function (font, above) {
      var context = measured(font), m = context.measureText('');
      var box = above ? m.fontBoundingBoxAscent : m.fontBoundingBoxDescent;
      if (typeof box !== 'number') {
        var size = parseFloat((/([\d.]+)px/.exec(context.font) || [0, 16])[1]);
        box = size * (above ? 0.8 : 0.2);
      }
      return box * 25.4 / 96;
    },
    // False where the browser cannot print.
    print: function () {
      if (typeof window.print !== 'function') return false;
      commandPrint = true;
      window.print();
      return true;
    },
    commandFor: commandFor,
  };
})();
