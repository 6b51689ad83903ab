// Run by the body's load handler, once the page is read; no script runs
// before. The window is painted from its HTML first, and the page's code,
// held as text (page-code: emscripten's JavaScript for the module and the
// glue), runs just after that paint, where the browser tells of its paints,
// else after the first frame; at once in a tab not shown, which paints
// nothing; in any case within a second. Meanwhile the body keeps each
// click, key and paste for the glue.
(function () {
  // The text that the page holds in the <script> elements named `name`,
  // in parts (ui/web/assemble.cmake).
  window.QuorvelHeld = function (name) {
    var parts = document.querySelectorAll('script[data-of="' + name + '"]'), text = '';
    for (var i = 0; i < parts.length; ++i) text += parts[i].textContent;
    return text;
  };
  var begun = false;
  function begin() {
    if (begun) return;
    begun = true;
    var code = document.createElement('script');
    code.text = QuorvelHeld('page-code');
    document.head.appendChild(code);
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
