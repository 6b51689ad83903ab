// The page's last script. The window is all in the HTML above; the code
// that makes it work (emscripten's and the glue) waits as text until the
// browser reports the first paint, or two frames where it reports none, so
// that the window shows first. A script element with that text then runs it.
(function () {
  'use strict';
  var started = false;
  function start() {
    if (started) return;
    started = true;
    setTimeout(function () {
      var code = document.createElement('script');
      code.text = document.getElementById('code').textContent;
      document.body.appendChild(code);
    }, 0);
  }
  if (window.PerformanceObserver && (PerformanceObserver.supportedEntryTypes || []).indexOf('paint') >= 0) {
    new PerformanceObserver(start).observe({ type: 'paint', buffered: true });
    setTimeout(start, 1000); // a page opened in the background paints only when shown
  } else {
    requestAnimationFrame(function () { requestAnimationFrame(start); });
  }
})();
