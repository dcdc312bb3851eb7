// The two sound effects in the page, through Web Audio: the same calls as
// the desktop's sound module (platform/sound.h), with one voice, so a new
// sound cuts off the one still playing. Browsers let a page make sound only
// after the user has clicked or pressed a key: the audio context is made
// and the effects decoded at the first of those, and until then the
// effects stay silent.
#include <emscripten.h>

#include "platform/sound.h"

EM_JS(void, openAudioAtFirstGesture, (const char* laser, const char* boom), {
  const paths = [UTF8ToString(laser), UTF8ToString(boom)];
  const open = () => {
    if (Module.cryptwellAudio !== undefined) return;  // open, or closed for good
    const context = new AudioContext();
    const audio = { context: context, buffers: [null, null], voice: null };
    Module.cryptwellAudio = audio;
    paths.forEach((path, effect) => {
      let bytes;
      try { bytes = FS.readFile(path); } catch (e) { return; }  // a missing file plays nothing
      context.decodeAudioData(bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.length))
        .then((buffer) => { audio.buffers[effect] = buffer; },
              (error) => console.error('Cryptwell: cannot decode ' + path + ': ' + error));
    });
  };
  for (const gesture of ['keydown', 'mousedown', 'touchstart']) {
    window.addEventListener(gesture, open, { once: true, capture: true });
  }
});

EM_JS(int, audioOpen, (), { return Module.cryptwellAudio ? 1 : 0; });

EM_JS(void, playEffect, (int effect), {
  const audio = Module.cryptwellAudio;
  if (!audio || !audio.buffers[effect]) return;
  if (audio.voice) audio.voice.stop();
  audio.voice = audio.context.createBufferSource();
  audio.voice.buffer = audio.buffers[effect];
  audio.voice.connect(audio.context.destination);
  audio.voice.start();
});

EM_JS(void, closeAudio, (), {
  const audio = Module.cryptwellAudio;
  if (audio) audio.context.close();
  Module.cryptwellAudio = null;
});

void startSound(const char* const paths[kSoundEffects]) {
  openAudioAtFirstGesture(paths[LaserSound], paths[BoomSound]);
}

// Nothing in a page may wait: this says whether the audio is open yet.
bool waitForSound() { return audioOpen() != 0; }

void playSound(SoundEffect effect) { playEffect(effect); }

void shutdownSound() { closeAudio(); }
