// TANU's page end to end in Debian's Chromium: the built site served from this machine, driven
// by keyboard and mouse as a user drives it. Usage: node --test (SITE= the built site folder).
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { chromium } from "playwright-core";

const here = path.dirname(fileURLToPath(import.meta.url));
const site = process.env.SITE || path.join(here, "../../build/web/site");
const types = {
  ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm", ".css": "text/css",
  ".png": "image/png", ".ttf": "font/ttf", ".webmanifest": "application/manifest+json",
};

let server;
let origin;
let browser;
// Every request the server answered, in order.
const served = [];

before(async () => {
  server = http.createServer((request, response) => {
    let file = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
    if (file.endsWith("/")) {
      file += "index.html";
    }
    served.push(file);
    fs.readFile(path.join(site, path.normalize(file)), (error, bytes) => {
      if (error) {
        response.writeHead(404);
        response.end();
        return;
      }
      response.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream" });
      response.end(bytes);
    });
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  origin = `http://localhost:${server.address().port}`;
  browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args: ["--no-sandbox"] });
});

after(async () => {
  await browser?.close();
  server?.close();
});

// A page with TANU started: its first chart is drawn and the focus is in the first text field.
async function openPage(options = {}) {
  const context = await browser.newContext({ viewport: { width: 1000, height: 800 }, acceptDownloads: true, ...options });
  const page = await context.newPage();
  // The save picker of the File System Access API cannot be driven headless: the download stands in.
  await page.addInitScript(() => { delete window.showSaveFilePicker; });
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  await page.goto(origin + "/");
  await page.waitForFunction(() => typeof TANU !== "undefined" && TANU.startedAt !== undefined);
  return { page, context, errors };
}

const field = (page, id) => page.locator(`#field-${id}`);
const fieldValues = (page) => page.evaluate(() => {
  const values = {};
  for (const [id, input] of TANU.fields.byId) {
    values[id] = input.value;
  }
  return values;
});
// Waits until every call the page has queued into the program has run.
const settled = (page) => page.evaluate(() => TANU.queue);

test("starts with the focus in the first text field and the domain fields locked", async () => {
  const { page, context, errors } = await openPage();
  assert.equal(await page.evaluate(() => document.activeElement.id), "field-510");
  for (let id = 500; id <= 509; ++id) {
    assert.equal(await field(page, id).isDisabled(), true, `field ${id}`);
  }
  assert.match(await page.locator("#chart").getAttribute("aria-description"), /./);
  assert.deepEqual(errors, []);
  await context.close();
});

test("a profile typed in and saved has the bytes the desktop program saves", async () => {
  const { page, context } = await openPage();
  await page.keyboard.type("Ann Smith");
  await page.keyboard.press("Tab");
  await page.keyboard.type("2015/3/10");
  await page.keyboard.press("Tab");
  await page.keyboard.type("2024/6/1");
  await page.keyboard.press("Tab");
  await page.keyboard.type("Mr Jones");
  await page.keyboard.press("Tab");
  await page.keyboard.type("5");
  await field(page, 503).click();
  await page.keyboard.type("7");
  await field(page, 509).click();
  await page.keyboard.type("8"); // still focused: Save commits it first
  await settled(page);
  const download = page.waitForEvent("download");
  await page.keyboard.press("Control+S");
  await page.locator("#save-as").waitFor();
  assert.equal(await page.locator("#save-name").inputValue(), "untitled.tanu");
  await page.locator("#save-name").fill("ann.tanu");
  await page.keyboard.press("Enter");
  const saved = await download;
  assert.equal(saved.suggestedFilename(), "ann.tanu");
  const bytes = fs.readFileSync(await saved.path(), "latin1");
  assert.equal(bytes, "Ann Smith\r\n2015/3/10\r\n2024/6/1\r\nMr Jones\r\n" +
                      "5\r\n0\r\n0\r\n7\r\n0\r\n0\r\n0\r\n0\r\n0\r\n8\r\n");
  await context.close();
});

test("Open fills the fields and the chart; a binary file is refused with the program's message", async () => {
  const { page, context } = await openPage();
  const profile = "Anna Example\r\n2015/3/10\r\n2024/6/1\r\nMr Jones\r\n9\r\n0\r\n0\r\n7\r\n0\r\n0\r\n0\r\n0\r\n0\r\n8\r\n";
  let chooser = page.waitForEvent("filechooser");
  await page.keyboard.press("Control+O");
  await (await chooser).setFiles({ name: "anna.tanu", mimeType: "application/octet-stream", buffer: Buffer.from(profile, "latin1") });
  await settled(page);
  const values = await fieldValues(page);
  assert.equal(values[510], "Anna Example");
  assert.equal(values[511], "2015/3/10");
  assert.equal(values[500], "9");
  assert.equal(values[503], "7");
  assert.equal(values[509], "8");
  assert.equal(await field(page, 500).isDisabled(), false);
  assert.match(await page.locator("#chart").getAttribute("aria-description"), /./);

  chooser = page.waitForEvent("filechooser");
  await page.keyboard.press("Control+O");
  await (await chooser).setFiles({ name: "photo.tanu", mimeType: "image/png", buffer: Buffer.from([0x89, 0x50, 0x4e, 0x47, 0, 0, 0, 1, 2, 3]) });
  await page.locator("#message[open]").waitFor();
  assert.match(await page.locator("#message-text").textContent(), /photo\.tanu/);
  await page.keyboard.press("Enter");
  await settled(page);
  assert.equal((await fieldValues(page))[510], "Anna Example", "the open profile is kept");
  await context.close();
});

test("an invalid date of birth gives the Invalid date box and keeps the domains locked", async () => {
  const { page, context } = await openPage();
  await page.keyboard.press("Tab");
  await page.keyboard.type("1979/1/1");
  await page.keyboard.press("Tab");
  await page.locator("#message[open]").waitFor();
  assert.equal(await page.locator("#message-caption").textContent(), "Invalid date");
  await page.keyboard.press("Enter");
  await settled(page);
  assert.equal(await field(page, 500).isDisabled(), true);
  await context.close();
});

test("New empties the form; About shows the program's box until OK", async () => {
  const { page, context } = await openPage();
  await page.keyboard.type("Somebody");
  await page.keyboard.press("Tab");
  await page.keyboard.type("2015/3/10");
  await page.keyboard.press("Tab");
  await settled(page);
  await page.locator("#menubar .title", { hasText: "File" }).click();
  await page.locator("#menubar .item", { hasText: "New" }).click();
  await settled(page);
  const values = await fieldValues(page);
  assert.equal(values[510], "");
  assert.equal(await page.evaluate(() => document.activeElement.id), "field-510");

  await page.locator("#menubar .title", { hasText: "Help" }).click();
  await page.locator("#menubar .item", { hasText: "About" }).click();
  await page.locator("#about[open]").waitFor();
  assert.equal(await page.locator("#about-caption").textContent(), "About tanu");
  assert.match(await page.locator("#about-lines").textContent(), /tanu, Version 1\.0/);
  await page.keyboard.press("Enter");
  await settled(page);
  assert.equal(await page.locator("#about[open]").count(), 0);
  assert.equal(await page.evaluate(() => document.activeElement.id), "field-510");
  await context.close();
});

test("after the page has loaded it asks the network for nothing, and works with the network cut", async () => {
  const { page, context } = await openPage();
  await page.evaluate(() => navigator.serviceWorker.ready);
  const requests = [];
  page.on("request", (request) => requests.push(request.url()));
  await page.keyboard.type("Anna");
  await page.keyboard.press("Tab");
  await page.keyboard.type("2015/3/10");
  await page.keyboard.press("Tab");
  await page.keyboard.type("2024/6/1");
  await settled(page);
  assert.deepEqual(requests, []);

  await context.setOffline(true);
  await page.reload();
  await page.waitForFunction(() => typeof TANU !== "undefined" && TANU.startedAt !== undefined);
  assert.equal(await page.evaluate(() => document.activeElement.id), "field-510");
  await context.close();
});
