// A module of the page is compiled and started at once: the window's while
// the page is read, so that the window works from its first paint, and the
// commands' within the key or click that first asks for it. A module this
// small compiles in a millisecond or two. Emscripten's minimal runtime
// instantiates through WebAssembly.instantiate, whose answer waits for the
// page's next turn; the WebAssembly seen here instantiates at once, and
// hands the result on as the runtime expects it, before the factory returns.
var WebAssembly = Object.create(window.WebAssembly, {
  instantiate: {
    value: function (bytes, imports) {
      var module = new window.WebAssembly.Module(bytes);
      var output = { module: module, instance: new window.WebAssembly.Instance(module, imports) };
      return { then: function (use) { use(output); } };
    },
  },
});
