// Starts Cryptwell on the page's canvas: checks that the browser draws with
// WebGL, hands the program its eight data files, sends what it prints to the
// console, and puts a line on the page when the run has ended or cannot start.
'use strict';
(() => {
  const canvas = document.getElementById('canvas');
  const notice = document.getElementById('notice');
  const say = (text) => {
    notice.textContent = text;
    notice.hidden = false;
  };
  const noWebGL = () => say('Cryptwell draws with WebGL, which this browser does not offer ' +
                            'or has turned off. Turn it on, or open the page in another browser.');
  if (!document.createElement('canvas').getContext('webgl')) {
    noWebGL();
    return;
  }
  const dataFiles = ['font.bmp', 'smoke128.bmp', 'sphere128.bmp', 'alien31_256.bmp',
                     'dirt128.bmp', 'alien69_256.bmp', 'laser.wav', 'boom.wav'];
  // A file that cannot be fetched is missing, as on the desktop: the program
  // runs without it.
  const fetchDataFile = (name) => {
    Module.addRunDependency(name);
    fetch(name)
      .then((response) => {
        if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
        return response.arrayBuffer();
      })
      .then((bytes) => Module.FS.writeFile(name, new Uint8Array(bytes)))
      .catch((error) => console.error('Cryptwell: cannot load ' + name + ': ' + error.message))
      .finally(() => Module.removeRunDependency(name));
  };
  // The query string is the command line: ?benchmark=10&no-sound is
  // --benchmark=10 --no-sound.
  const commandLine = [...new URLSearchParams(location.search)].map(
      ([name, value]) => '--' + name + (value ? '=' + value : ''));
  window.Module = {
    canvas: canvas,
    arguments: commandLine,
    print: (text) => console.log(text),
    // The program writes only its errors to standard error; emscripten's
    // runtime marks its own notices.
    printErr: (text) => (text.startsWith('WARNING: ') ? console.warn : console.error)(text),
    preRun: [() => dataFiles.forEach(fetchDataFile)],
    onFirstFrame: () => {
      Module.firstFrameMs = performance.now();
      canvas.focus();
    },
    // The program's exit: ESC's fade has ended, or the benchmark's frames;
    // or, with a status other than 0, the query string asked for what it
    // cannot do, and the console says what.
    quit: (status, exit) => {
      Module.pauseMainLoop();
      say(status === 0 ? 'Cryptwell has ended. Reload the page to start it again.'
                       : 'Cryptwell cannot start with this address; the browser\'s console ' +
                         'says why. Open the page without its query string to start it.');
      throw exit;
    },
    onNoWebGL: noWebGL,
  };
  const program = document.createElement('script');
  program.src = 'cryptwell.js';
  document.body.appendChild(program);
})();
