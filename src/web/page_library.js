// JavaScript the browser back end calls that needs emscripten's own
// Browser object, which only a library of this kind can ask for.
mergeInto(LibraryManager.library, {
  // Depth for the scene; a kept drawing buffer, so that hyperspace (no
  // clear) smears the picture as on the desktop; no multisampling, as there.
  // Made by Browser, which sets up the desktop-GL emulation on it.
  webMakeCanvasContext__deps: ['$Browser'],
  webMakeCanvasContext: function() {
    Module.ctx = Browser.createContext(Module['canvas'], true, true,
                                       { depth: true, preserveDrawingBuffer: true });
    return Module.ctx ? 1 : 0;
  },
});
