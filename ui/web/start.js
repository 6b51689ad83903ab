// The page's last script. The window is all in the HTML above; the code
// that makes it work (emscripten's and the glue) waits as text until the
// browser reports the first paint, or two frames where it reports none, so
// that the window shows first. A script element with that text then runs it.
// A click or key meanwhile is not lost: the glue takes it up once it runs.
(function () {
  'use strict';
  // What is clicked or pressed meanwhile is kept for the glue to take up.
  var early = [];
  var types = ['click', 'change', 'keydown'];
  function keep(event) {
    early.push(event);
    if (event.type === 'keydown' && event.ctrlKey && event.shiftKey && event.key.toLowerCase() === 'c') {
      event.preventDefault(); // no developer tools meanwhile
    }
  }
  types.forEach(function (type) { document.addEventListener(type, keep, true); });
  window.QuorvelEarly = {
    stop: function () {
      types.forEach(function (type) { document.removeEventListener(type, keep, true); });
      window.QuorvelEarly = null;
      return early;
    },
  };

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
