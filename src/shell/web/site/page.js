// The page's side of TANU: what the program draws on and asks the user through. The program
// (tanu.js and tanu.wasm, the same core as the desktop programs) calls the functions of TANU;
// the page calls the program through TANU.call, one call at a time, because a call may wait in
// a dialog until the user ends it.
"use strict";

const pictureNames = ["background.png", "wedge.png", "one_year.png", "two_years.png"];
for (let years = 2; years <= 22; ++years) {
  pictureNames.push("badge" + years + ".png");
}

const TANU = {
  out: "",
  queue: Promise.resolve(),
  // When the program had drawn its first whole chart, on the page's clock (from navigation);
  // the tests and the start-up measurement wait for it.
  startedAt: undefined,

  text(pointer, length) {
    let s = "";
    for (let i = 0; i < length; i += 4096) {
      s += String.fromCharCode.apply(null, HEAPU16.subarray((pointer >> 1) + i, (pointer >> 1) + Math.min(length, i + 4096)));
    }
    return s;
  },

  call(name, args = []) {
    TANU.queue = TANU.queue
      .then(() => Module.ccall(name, null, args.map(() => "number"), args, { async: true }))
      .catch((error) => console.error(error));
    return TANU.queue;
  },

  pixelRatio() {
    return window.devicePixelRatio || 1;
  },

  // Pictures, loaded before the program starts; the double-size set above a ratio of 1.25.
  pictures: new Map(),
  pictureSize(name) {
    const picture = TANU.pictures.get(name);
    return picture ? [picture.naturalWidth, picture.naturalHeight] : [-1, -1];
  },
  loadPictures() {
    const twice = TANU.pixelRatio() > 1.25;
    return Promise.all(pictureNames.map((name) => {
      const load = (file) => {
        const image = new Image();
        image.src = "data/" + file;
        return image.decode().then(() => image);
      };
      const file = twice ? name.replace(".png", "@2x.png") : name;
      return load(file)
        .catch(() => (twice ? load(name) : Promise.reject()))
        .then((image) => TANU.pictures.set(name, image), () => {});
    }));
  },

  surface: {
    canvases: [],
    chartCanvas() {
      const canvas = document.getElementById("chart");
      const ratio = TANU.pixelRatio();
      const width = Math.round(912 * ratio);
      const height = Math.round(699 * ratio);
      if (canvas.width !== width || canvas.height !== height) {
        canvas.width = width;
        canvas.height = height;
      }
      TANU.surface.canvases[0] = canvas;
      return 0;
    },
    ctx(number) {
      const canvas = TANU.surface.canvases[number];
      if (!canvas.tanuContext) {
        canvas.tanuContext = canvas.getContext("2d");
        canvas.tanuContext.imageSmoothingQuality = "high";
      }
      return canvas.tanuContext;
    },
    colour(argb) {
      const a = ((argb >>> 24) & 255) / 255;
      return "rgba(" + ((argb >>> 16) & 255) + "," + ((argb >>> 8) & 255) + "," + (argb & 255) + "," + a + ")";
    },
    clear(number, argb) {
      const ctx = TANU.surface.ctx(number);
      ctx.save();
      ctx.setTransform(1, 0, 0, 1, 0, 0);
      ctx.clearRect(0, 0, ctx.canvas.width, ctx.canvas.height);
      ctx.fillStyle = TANU.surface.colour(argb);
      ctx.fillRect(0, 0, ctx.canvas.width, ctx.canvas.height);
      ctx.restore();
    },
    image(number, name, x, y, w, h) {
      const picture = TANU.pictures.get(name);
      if (picture) {
        TANU.surface.ctx(number).drawImage(picture, x, y, w, h);
      }
    },
    pie(number, argb, x, y, w, h, start, sweep) {
      const ctx = TANU.surface.ctx(number);
      const rad = Math.PI / 180;
      ctx.beginPath();
      ctx.moveTo(x + w / 2, y + h / 2);
      ctx.ellipse(x + w / 2, y + h / 2, w / 2, h / 2, 0, start * rad, (start + sweep) * rad, sweep < 0);
      ctx.closePath();
      ctx.fillStyle = TANU.surface.colour(argb);
      ctx.fill();
    },
    ellipse(number, argb, pen, x, y, w, h) {
      const ctx = TANU.surface.ctx(number);
      ctx.beginPath();
      ctx.ellipse(x + w / 2, y + h / 2, Math.abs(w / 2), Math.abs(h / 2), 0, 0, 2 * Math.PI);
      ctx.strokeStyle = TANU.surface.colour(argb);
      ctx.lineWidth = pen;
      ctx.stroke();
    },
    line(number, argb, pen, x1, y1, x2, y2) {
      const ctx = TANU.surface.ctx(number);
      ctx.beginPath();
      ctx.moveTo(x1, y1);
      ctx.lineTo(x2, y2);
      ctx.strokeStyle = TANU.surface.colour(argb);
      ctx.lineWidth = pen;
      ctx.lineCap = "butt";
      ctx.stroke();
    },
    // From the top of the box, wrapped at spaces and clipped to the box, as the desktop
    // surfaces lay text out.
    text(number, text, family, size, bold, x, y, w, h, centred, argb) {
      const ctx = TANU.surface.ctx(number);
      ctx.save();
      ctx.beginPath();
      ctx.rect(x, y, w, h);
      ctx.clip();
      ctx.font = (bold ? "bold " : "") + size + 'px "' + family + '", "TANU Sans", sans-serif';
      ctx.fillStyle = TANU.surface.colour(argb);
      ctx.textAlign = centred ? "center" : "left";
      ctx.textBaseline = "alphabetic";
      const metrics = ctx.measureText("Ag");
      const ascent = metrics.fontBoundingBoxAscent;
      const lineHeight = ascent + metrics.fontBoundingBoxDescent;
      const lines = [];
      let line = "";
      for (const word of text.split(" ")) {
        const tried = line === "" ? word : line + " " + word;
        if (line !== "" && ctx.measureText(tried).width > w) {
          lines.push(line);
          line = word;
        } else {
          line = tried;
        }
      }
      lines.push(line);
      const at = centred ? x + w / 2 : x;
      lines.forEach((l, i) => ctx.fillText(l, at, y + ascent + i * lineHeight));
      ctx.restore();
    },
    describe(name, description) {
      const canvas = document.getElementById("chart");
      canvas.setAttribute("aria-label", name);
      canvas.setAttribute("aria-description", description);
      canvas.textContent = description;
    },
  },

  fields: {
    byId: new Map(),
    create(id, x, y, w, h, name) {
      const field = document.createElement("input");
      field.type = "text";
      field.id = "field-" + id;
      field.dataset.field = id;
      field.spellcheck = false;
      field.autocomplete = "off";
      field.setAttribute("aria-label", name);
      Object.assign(field.style, { left: x + "px", top: y + "px", width: w + "px", height: h + "px" });
      document.getElementById("fields").append(field);
      TANU.fields.byId.set(id, field);
    },
    get(id) {
      return TANU.fields.byId.get(id);
    },
    focus(id) {
      TANU.fields.get(id).focus();
    },
    active() {
      const element = document.activeElement;
      return element && element.dataset && element.dataset.field !== undefined ? Number(element.dataset.field) : -1;
    },
    enabled() {
      return [...TANU.fields.byId.values()].filter((f) => !f.disabled);
    },
  },

  // A modal dialog until the user ends it; the focus goes back where it was.
  modal(dialog) {
    const back = document.activeElement;
    return new Promise((resolve) => {
      dialog.addEventListener("close", () => {
        if (back && back.focus) {
          back.focus();
        }
        resolve(dialog.returnValue);
      }, { once: true });
      dialog.returnValue = "";
      dialog.showModal();
    });
  },

  dialogs: {
    message(caption, text, warning) {
      document.getElementById("message-caption").textContent = caption;
      document.getElementById("message-text").textContent = text;
      document.getElementById("message-icon").textContent = warning ? "\u26a0" : "\u2139";
      return TANU.modal(document.getElementById("message"));
    },
    // Dialog units of the system's dialog font: a quarter of 6 pixels across, an eighth of 13 down.
    aboutBox(caption, width, height, button, bx, by, bw, bh) {
      document.getElementById("about-caption").textContent = caption;
      const form = document.querySelector("#about form");
      form.style.width = width * 1.5 + "px";
      form.style.height = height * 13 / 8 + "px";
      const ok = document.getElementById("about-ok");
      ok.textContent = button;
      Object.assign(ok.style, { left: bx * 1.5 + "px", top: by * 13 / 8 + "px", width: bw * 1.5 + "px", height: bh * 13 / 8 + "px" });
    },
    aboutLine(text, x, y) {
      const line = document.createElement("span");
      line.textContent = text;
      Object.assign(line.style, { left: x * 1.5 + "px", top: y * 13 / 8 + "px" });
      document.getElementById("about-lines").append(line);
    },
    about() {
      return TANU.modal(document.getElementById("about"));
    },
  },

  files: {
    chosen: new Map(), // name -> bytes of what the user opened or dropped
    handles: new Map(), // name -> where a save picker said to save
    read: null,
    chooseOpen() {
      return new Promise((resolve) => {
        // A fresh input each time, in the page until it is answered: a detached one may be
        // collected before the browser has shown its chooser.
        const picker = document.createElement("input");
        picker.type = "file";
        picker.accept = ".tanu";
        picker.hidden = true;
        document.body.append(picker);
        const answered = (chosen) => {
          picker.remove();
          resolve(chosen);
        };
        picker.addEventListener("cancel", () => answered(0));
        picker.addEventListener("change", () => {
          const file = picker.files[0];
          if (!file) {
            answered(0);
            return;
          }
          TANU.files.take(file).then(() => answered(1), () => answered(0));
        });
        picker.click();
      });
    },
    take(file) {
      return file.arrayBuffer().then((buffer) => {
        TANU.files.chosen.clear();
        TANU.files.chosen.set(file.name, new Uint8Array(buffer));
        TANU.out = file.name;
      });
    },
    prepareRead(name) {
      const bytes = TANU.files.chosen.get(name);
      if (!bytes) {
        return -1;
      }
      TANU.files.read = bytes;
      return bytes.length;
    },
    async chooseSave(proposed) {
      if (window.showSaveFilePicker) {
        try {
          const handle = await window.showSaveFilePicker({
            suggestedName: proposed,
            types: [{ description: "TANU profile", accept: { "application/x-tanu": [".tanu"] } }],
          });
          TANU.files.handles.set(handle.name, handle);
          TANU.out = handle.name;
          return 1;
        } catch (error) {
          if (error.name === "AbortError") {
            return 0;
          }
        }
      }
      // Without a save picker the file goes to the browser's downloads under the name typed.
      const name = document.getElementById("save-name");
      name.value = proposed;
      const dialog = document.getElementById("save-as");
      const shown = TANU.modal(dialog);
      name.select();
      if ((await shown) !== "ok" || name.value.trim() === "") {
        return 0;
      }
      TANU.out = name.value;
      return 1;
    },
    async write(name, bytes) {
      const handle = TANU.files.handles.get(name);
      if (handle) {
        TANU.files.handles.delete(name);
        try {
          // The browser writes to a copy and puts it in place on close: the old file or the
          // new one, never a part.
          const writable = await handle.createWritable();
          await writable.write(bytes);
          await writable.close();
          return 1;
        } catch (error) {
          TANU.out = String(error.message || error);
          return 0;
        }
      }
      const url = URL.createObjectURL(new Blob([bytes], { type: "application/octet-stream" }));
      const link = document.createElement("a");
      link.href = url;
      link.download = name;
      document.body.append(link);
      link.click();
      link.remove();
      setTimeout(() => URL.revokeObjectURL(url), 60000);
      return 1;
    },
  },

  print: {
    canvas: null,
    begin(width, height, pixelsPerUnit) {
      const canvas = document.createElement("canvas");
      canvas.width = Math.round(width * pixelsPerUnit);
      canvas.height = Math.round(height * pixelsPerUnit);
      canvas.tanuContext = null;
      TANU.print.canvas = canvas;
      TANU.surface.canvases[1] = canvas;
      return 1;
    },
    async end() {
      const picture = document.getElementById("printout");
      picture.src = TANU.print.canvas.toDataURL("image/png");
      await picture.decode();
      window.print();
    },
  },

  menus: {
    titles: [],
    shortcuts: [],
    close() {
      document.querySelectorAll("#menubar .menu.open").forEach((m) => m.classList.remove("open"));
    },
    label(caption) {
      const span = document.createElement("span");
      const at = caption.indexOf("&");
      if (at < 0) {
        span.textContent = caption;
        return span;
      }
      span.append(caption.slice(0, at));
      const letter = document.createElement("u");
      letter.textContent = caption[at + 1];
      span.append(letter, caption.slice(at + 2));
      return span;
    },
    menu(number, title) {
      const menu = document.createElement("div");
      menu.className = "menu";
      const button = document.createElement("button");
      button.className = "title";
      button.tabIndex = -1;
      button.append(TANU.menus.label(title));
      button.addEventListener("click", () => {
        const open = menu.classList.contains("open");
        TANU.menus.close();
        menu.classList.toggle("open", !open);
      });
      const items = document.createElement("div");
      items.className = "items";
      items.setAttribute("role", "menu");
      menu.append(button, items);
      document.getElementById("menubar").append(menu);
      TANU.menus.titles[number] = items;
    },
    // A browser keeps Ctrl+N for a new window of its own; the page binds Ctrl+Alt+N instead.
    keysText(chord) {
      if (!chord.key) {
        return "";
      }
      const key = String.fromCharCode(chord.key);
      if (chord.ctrl && key === "N") {
        return "Ctrl+Alt+N";
      }
      return (chord.ctrl ? "Ctrl+" : "") + (chord.alt ? "Alt+" : "") + key;
    },
    item(number, command, caption, separator, chord, also) {
      const items = TANU.menus.titles[number];
      if (separator) {
        items.append(document.createElement("hr"));
      }
      const item = document.createElement("button");
      item.className = "item";
      item.tabIndex = -1;
      item.setAttribute("role", "menuitem");
      item.dataset.command = command;
      const keys = document.createElement("span");
      keys.className = "keys";
      keys.textContent = TANU.menus.keysText(chord);
      item.append(TANU.menus.label(caption), keys);
      item.addEventListener("click", () => {
        TANU.menus.close();
        TANU.run(command);
      });
      items.append(item);
      for (const bound of [chord, ...also]) {
        if (bound.key) {
          TANU.menus.shortcuts.push({ ...bound, command });
        }
      }
    },
    onKey(event) {
      const key = event.key.length === 1 ? event.key.toUpperCase() : "";
      for (const s of TANU.menus.shortcuts) {
        const ch = String.fromCharCode(s.key);
        const n = s.ctrl && ch === "N";
        const ctrl = s.ctrl && event.ctrlKey;
        const wantAlt = s.alt || n;
        const matches = key === ch && (s.ctrl ? ctrl : !event.ctrlKey) && (wantAlt ? event.altKey : !event.altKey);
        if (matches) {
          event.preventDefault();
          TANU.menus.close();
          TANU.run(s.command);
          return;
        }
      }
    },
  },

  run(command) {
    TANU.call("tanu_command", [command]);
  },

  paintSoon() {
    if (TANU.paintPending) {
      return;
    }
    TANU.paintPending = true;
    requestAnimationFrame(() => {
      TANU.paintPending = false;
      TANU.call("tanu_paint");
    });
  },

  started() {
    TANU.startedAt = performance.now();
  },
};

// The menus keep the focus in the field the user is in: a menu is no focus move. Everything else
// about focus is the browser's, reported to the program as it goes.
document.addEventListener("mousedown", (event) => {
  if (event.target.closest && event.target.closest("#menubar")) {
    event.preventDefault();
  } else {
    TANU.menus.close();
  }
});
document.addEventListener("keydown", (event) => {
  if (document.querySelector("dialog[open]")) {
    return;
  }
  if (event.key === "Escape") {
    TANU.menus.close();
  }
  // Tab goes round the fields, as in a window, never out to the browser.
  if (event.key === "Tab" && !event.ctrlKey && !event.altKey) {
    const fields = TANU.fields.enabled();
    const at = fields.indexOf(document.activeElement);
    if (fields.length > 0 && (at < 0 || (event.shiftKey ? at === 0 : at === fields.length - 1))) {
      event.preventDefault();
      fields[event.shiftKey ? fields.length - 1 : 0].focus();
    }
    return;
  }
  TANU.menus.onKey(event);
});
document.addEventListener("focusin", () => TANU.syncSoon());
document.addEventListener("focusout", () => TANU.syncSoon());
TANU.syncSoon = () => {
  if (TANU.syncPending) {
    return;
  }
  TANU.syncPending = true;
  TANU.queue = TANU.queue.then(() => {
    TANU.syncPending = false;
  });
  TANU.call("tanu_sync_focus");
};
matchMedia("(resolution: " + TANU.pixelRatio() + "dppx)").addEventListener("change", () => TANU.paintSoon());

// A profile dropped on the page opens as File > Open would open it.
document.addEventListener("dragover", (event) => event.preventDefault());
document.addEventListener("drop", (event) => {
  event.preventDefault();
  const file = event.dataTransfer.files[0];
  if (file) {
    TANU.files.take(file).then(() => TANU.call("tanu_open_dropped"));
  }
});

var Module = {
  noInitialRun: true,
  onRuntimeInitialized() {
    TANU.runtimeReady();
  },
};
const runtime = new Promise((resolve) => { TANU.runtimeReady = resolve; });
Promise.all([runtime, TANU.loadPictures(), document.fonts.load('bold 13px "TANU Sans"').catch(() => {})])
  .then(() => Module.callMain([]));

if ("serviceWorker" in navigator && window.isSecureContext) {
  navigator.serviceWorker.register("sw.js");
}
