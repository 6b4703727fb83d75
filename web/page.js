// The page around the game: the browser's storage mounted at /store and read
// before the game starts, the line that tells what became of the map, the
// buttons that download and load map files, the offer of a newer default
// world and the message when the game has ended. Runs inside the game's module.

Module.canvas = document.getElementById('canvas');

Module.page = (function() {
  var STORE = '/store', MAP = '/world/map/phoebus.qnm', UNSAVED = MAP + '.unsaved';
  var MAP_BYTES = 262144;
  var el = function(id) { return document.getElementById(id); };
  var storage = true;          // the browser's storage could be read at start
  var storing = false, again = false, waiting = [];

  function say(text, bad) {
    var line = el('line');
    line.textContent = text;
    line.className = bad ? 'bad' : '';
  }
  // on the page and on the console, where the game prints
  function tell(text) {
    say(text, true);
    console.log(text);
  }
  function why(err) {
    if (!err) return 'unknown error';
    return err.name && err.message ? err.name + ': ' + err.message : String(err.message || err.name || err);
  }
  function exists(path) {
    try { FS.stat(path); return true; } catch (e) { return false; }
  }
  function showUnsaved() { el('download-unsaved').hidden = !exists(UNSAVED); }

  // Writes the store into the browser, once at a time; names kept while a
  // write runs go with the next one.
  function store() {
    if (storing) { again = true; return; }
    storing = true;
    var names = waiting;
    waiting = [];
    FS.syncfs(false, function(err) {
      storing = false;
      var what = names.join(' and ');
      if (err) tell(what + ' not kept in this browser: ' + why(err));
      else say(what + ' kept in this browser');
      if (again) { again = false; store(); }
    });
  }

  function download(path, name) {
    var blob = new Blob([FS.readFile(path)], {type: 'application/octet-stream'});
    var a = document.createElement('a');
    a.href = URL.createObjectURL(blob);
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(function() { URL.revokeObjectURL(a.href); }, 10000);
  }

  el('download-map').onclick = function() { download(MAP, 'phoebus.qnm'); };
  el('download-unsaved').onclick = function() { download(UNSAVED, 'phoebus.qnm.unsaved'); };
  el('load-map').onchange = function() {
    var file = this.files[0];
    this.value = '';
    if (!file) return;
    if (file.size !== MAP_BYTES) {
      tell(file.name + ' is not a map file: ' + file.size + ' bytes, a map has ' + MAP_BYTES);
      return;
    }
    var unsaved = Module._web_unsaved_painting();
    if (unsaved > 0 && !confirm('Loading ' + file.name + ' throws away ' + unsaved +
                                ' painted cells never saved. Load it?')) return;
    file.arrayBuffer().then(function(bytes) {
      FS.writeFile(MAP, new Uint8Array(bytes));
      Module._web_map_written();
    });
  };
  Module.canvas.addEventListener('contextmenu', function(e) { e.preventDefault(); });
  Module.canvas.addEventListener('mousedown', function() { Module.canvas.focus(); });
  window.addEventListener('beforeunload', function(e) {
    if (Module._web_unsaved_painting && Module._web_unsaved_painting() > 0) {
      e.preventDefault();
      e.returnValue = '';
    }
  });
  window.addEventListener('pagehide', function() {
    if (Module._web_page_closing) Module._web_page_closing();
  });

  (Module.preRun = Module.preRun || []).push(function() {
    FS.mkdir(STORE);
    FS.mount(IDBFS, {}, STORE);
    addRunDependency('store');
    FS.syncfs(true, function(err) {
      if (err) {
        storage = false;
        tell('the browser\'s storage cannot be read (' + why(err) + '): painting will not be kept');
      }
      removeRunDependency('store');
    });
  });
  Module.onRuntimeInitialized = function() {
    if (storage) say('Playing. Press 2 for the map editor.');
    showUnsaved();
  };

  return {
    // The game has written a kept file (name as the game names it) to the
    // store, or could not.
    keep: function(name, copied) {
      showUnsaved();
      if (!copied) { tell(name + ' not kept in this browser: it could not be copied to the store'); return; }
      if (waiting.indexOf(name) < 0) waiting.push(name);
      store();
    },
    newerWorld: function() {
      var notice = el('notice');
      notice.style.display = 'block';
      notice.textContent = 'You play the map you saved in this browser, painted over an older default ' +
                           'world than this page brings. ';
      var b = document.createElement('button');
      b.textContent = 'Play the new world instead (download your map first: it is forgotten)';
      b.onclick = function() {
        ['/phoebus.qnm', '/phoebus.qnm.unsaved', '/world'].forEach(function(f) {
          if (exists(STORE + f)) FS.unlink(STORE + f);
        });
        FS.syncfs(false, function() { location.reload(); });
      };
      notice.appendChild(b);
    },
    ended: function() {
      var notice = el('notice');
      notice.style.display = 'block';
      notice.textContent = 'The game has ended. Reload the page to play again.' +
          (exists(UNSAVED) ? ' Painting never saved is kept as map\\phoebus.qnm.unsaved.' : '');
      showUnsaved();
    },
    tell: tell,
    noWebGL: function() { tell('This browser gives the page no WebGL: the game cannot draw.'); }
  };
})();
