// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into the page's program (after Emscripten's own code): the calls between the
// game's thread and the page's scripts, which only code inside the program can make,
// since they read and write the program's memory. On the browser's main thread only.
// Written in the JavaScript that the compiler's own tools read (no ?. nor ??).
if (!ENVIRONMENT_IS_PTHREAD) {
  const heapText = (text) => {
    const size = lengthBytesUTF8(text) + 1;
    const at = _malloc(size);
    stringToUTF8(text, at, size);
    return at;
  };
  const heapBytes = (bytes) => {
    const at = _malloc(bytes.length + 1);
    new Uint8Array(wasmMemory.buffer).set(bytes, at);
    return at;
  };
  const page = () => globalThis.lemmaroPage;

  // From the game's thread.
  Module.lemmaroLink = {
    show(at) {
      const text = UTF8ToString(at);
      _free(at);
      page().show(JSON.parse(text));
    },
    ask(token, whatAt, nameAt, dataAt, length) {
      const what = UTF8ToString(whatAt);
      const name = UTF8ToString(nameAt);
      const data = new Uint8Array(wasmMemory.buffer, dataAt, length).slice();
      _free(whatAt);
      _free(nameAt);
      _free(dataAt);
      Promise.resolve()
        .then(() => page().storage[what](name, data))
        .then(
          (bytes) => Module.lemmaro.answer(token, true, bytes || new Uint8Array(0), ''),
          (error) => Module.lemmaro.answer(token, false, null, String((error && error.message) || error)),
        );
    },
  };

  // To the game's thread.
  Module.lemmaro = {
    event(kind, a = 0, b = 0, c = 0) {
      _lemmaro_event(kind, a, b, c);
    },
    eventText(kind, a, text) {
      _lemmaro_event_text(kind, a, heapText(text));
    },
    answer(token, ok, bytes, message) {
      _lemmaro_answer(token, ok ? 1 : 0, bytes ? heapBytes(bytes) : 0, bytes ? bytes.length : 0,
                      heapText(message));
    },
    applyDrawMode(mode, dest, pen) {
      return _lemmaro_apply_draw_mode(mode, dest, pen) >>> 0;
    },
  };
}
