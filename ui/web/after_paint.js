// Run by the body's load handler, once the page is read; no script runs
// before. The window is painted from its HTML first, and the page's code
// (emscripten's JavaScript for the module, and the glue) runs just after
// that paint, where the browser tells of its paints, else after the first
// frame; at once in a tab not shown, which paints nothing; in any case
// within a second. Meanwhile the body keeps each click, key and paste for
// the glue.
(function () {
  // The text that the page holds in the <script> elements named `name`,
  // in parts (ui/web/assemble.cmake).
  function held(name) {
    var parts = document.querySelectorAll('script[data-of="' + name + '"]'), text = '';
    for (var i = 0; i < parts.length; ++i) text += parts[i].textContent;
    return text;
  }
  function run(code) {
    var script = document.createElement('script');
    script.text = code;
    document.head.appendChild(script);
  }
  // What the page holds as `name`, gzipped as base64: its bytes, or as
  // text its UTF-8; unpacked by the inflater (pako), itself held as text.
  window.QuorvelUnpacked = function (name, asText) {
    var text = held(name), bytes;
    if (Uint8Array.fromBase64) {
      bytes = Uint8Array.fromBase64(text);
    } else {
      var binary = atob(text);
      bytes = new Uint8Array(binary.length);
      for (var i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
    }
    if (!window.pako) run(held('inflate-code'));
    return window.pako.ungzip(bytes, asText ? { to: 'string' } : {});
  };
  var begun = false;
  function begin() {
    if (begun) return;
    begun = true;
    run(QuorvelUnpacked('page-code', true));
  }
  function afterPaint() { setTimeout(begin, 0); }
  var timing = window.PerformanceObserver && PerformanceObserver.supportedEntryTypes;
  if (document.hidden) {
    begin();
  } else if (timing && timing.indexOf('paint') >= 0) {
    if (performance.getEntriesByType('paint').length) afterPaint();
    else new PerformanceObserver(function (list, observer) { observer.disconnect(); afterPaint(); }).observe({ entryTypes: ['paint'] });
  } else {
    requestAnimationFrame(afterPaint);
  }
  setTimeout(begin, 1000);
})();
