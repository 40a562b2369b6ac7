// TANU's page end to end in Debian's Chromium: the built site served from this machine, driven
// by keyboard and mouse as a user drives it. Usage: node --test (SITE= the built site folder).
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import os from "node:os";
import { execFileSync } from "node:child_process";
import { fileURLToPath } from "node:url";
import { catchFileChoosers, launchChromium, serveSite, site, started } from "./site.mjs";

const here = path.dirname(fileURLToPath(import.meta.url));

const distanceProgram = process.env.TANU_PICTURE_DISTANCE ||
  path.join(here, "../../build/release/tests/web/tanu_picture_distance");
const goldenFolder = path.join(here, "../qt_surface/golden");

// How far a PNG the page drew lies from a golden picture: [drawn pixels outside, golden outside].
function distance(png, golden, density = 1) {
  const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), "tanu-web-")), golden);
  fs.writeFileSync(file, png);
  const [drawn, gold] = execFileSync(distanceProgram, [file, path.join(goldenFolder, golden), String(density)])
    .toString().trim().split(" ").map(Number);
  console.log(`${golden}: ${drawn} drawn and ${gold} golden pixels outside; drawn picture in ${file}`);
  return [drawn, gold];
}

const pngOf = (dataUrl) => Buffer.from(dataUrl.slice(dataUrl.indexOf(",") + 1), "base64");
const chartPng = async (page) => pngOf(await page.evaluate(() => document.getElementById("chart").toDataURL("image/png")));

let server;
let origin;
let browser;

before(async () => {
  server = await serveSite();
  origin = server.origin;
  browser = await launchChromium();
});

after(async () => {
  await browser?.close();
  server?.close();
});

// A page with TANU started: its first chart is drawn and the focus is in the first text field.
async function openPage(options = {}, today = null) {
  const context = await browser.newContext({ viewport: { width: 1000, height: 800 }, acceptDownloads: true, ...options });
  const page = await context.newPage();
  if (today) {
    await page.clock.setFixedTime(today);
  }
  page.openFile = catchFileChoosers(page);
  // The save picker of the File System Access API cannot be driven headless: the download stands in.
  await page.addInitScript(() => { delete window.showSaveFilePicker; });
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  await page.goto(origin + "/");
  await started(page);
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

// The first picture, before anything repaints it, is the whole start chart; above a ratio of
// 1.25 it is drawn with the double-size pictures at the device's resolution. Held to the GDI+
// surface's tolerance, its counts scaled by area at ratio 2.
for (const [ratio, golden, limits] of [[1, "start.png", [150, 20]], [2, "start@2x.png", [600, 80]]]) {
  test(`the first picture is the start chart at ratio ${ratio}`, async () => {
    const { page, context } = await openPage({ deviceScaleFactor: ratio });
    const [drawn, gold] = distance(await chartPng(page), golden, ratio);
    assert.ok(drawn <= limits[0] && gold <= limits[1], `${drawn} drawn, ${gold} golden pixels outside`);
    await context.close();
  });
}

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
  await page.openFile("anna.tanu", Buffer.from(profile, "latin1"));
  await settled(page);
  const values = await fieldValues(page);
  assert.equal(values[510], "Anna Example");
  assert.equal(values[511], "2015/3/10");
  assert.equal(values[500], "9");
  assert.equal(values[503], "7");
  assert.equal(values[509], "8");
  assert.equal(await field(page, 500).isDisabled(), false);
  assert.match(await page.locator("#chart").getAttribute("aria-description"), /./);

  await page.openFile("photo.tanu", [0x89, 0x50, 0x4e, 0x47, 0, 0, 0, 1, 2, 3], "image/png");
  await page.locator("#message[open]").waitFor();
  assert.match(await page.locator("#message-text").textContent(), /photo\.tanu/);
  await page.keyboard.press("Enter");
  await settled(page);
  assert.equal((await fieldValues(page))[510], "Anna Example", "the open profile is kept");

  // A profile dropped on the page opens as if chosen.
  await page.evaluate(() => {
    const data = new DataTransfer();
    data.items.add(new File(["Dropped Example\r\n2016/1/2\r\n\r\n\r\n5\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"], "dropped.tanu"));
    document.getElementById("chart").dispatchEvent(new DragEvent("drop", { dataTransfer: data, bubbles: true, cancelable: true }));
  });
  await page.waitForFunction(() => TANU.fields.get(510).value === "Dropped Example");
  await settled(page);
  assert.equal((await fieldValues(page))[500], "5");
  await context.close();
});

test("Print puts the chart with the field texts in the middle of one landscape page", async () => {
  // The golden page's profile is eleven on this day.
  const { page, context } = await openPage({}, new Date(2026, 11, 7, 12, 0, 0));
  const profile = "Anna Example\r\n2015/3/10\r\n2024/6/1\r\nMr Jones\r\n9\r\n12\r\n14\r\n10\r\n11\r\n13\r\n8\r\n15\r\n12\r\n10\r\n";
  await page.openFile("anna.tanu", Buffer.from(profile, "latin1"));
  await settled(page);
  const focused = await page.evaluate(() => document.activeElement.id);
  await page.keyboard.press("Control+P");
  await settled(page);
  assert.equal(await page.evaluate(() => document.activeElement.id), focused, "printing moves no focus");
  // The page is 10.5 x 7.77 inches at 300 dots an inch; the chart, 9.12 x 6.99 inches, stands in
  // its middle. Cut out at one chart unit a pixel, it is the golden printed picture.
  const { width, height, chart } = await page.evaluate(async () => {
    const printed = document.getElementById("printout");
    await printed.decode();
    const canvas = document.createElement("canvas");
    canvas.width = 912;
    canvas.height = 699;
    const ctx = canvas.getContext("2d");
    ctx.imageSmoothingQuality = "high";
    ctx.drawImage(printed, 69 * 3, 39 * 3, 912 * 3, 699 * 3, 0, 0, 912, 699);
    return { width: printed.naturalWidth, height: printed.naturalHeight, chart: canvas.toDataURL("image/png") };
  });
  assert.deepEqual([width, height], [3150, 2331]);
  // Text is ten points on paper, 4% larger in chart units than on a 96-dpi screen, where the
  // golden picture was drawn: the letters' edges make the difference.
  const [drawn, gold] = distance(pngOf(chart), "printed_profile.png");
  assert.ok(drawn <= 1500 && gold <= 1500, `${drawn} drawn, ${gold} golden pixels outside`);
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
  // Nothing about the student is kept in the browser: no storage, and the offline cache holds
  // the site's own files alone.
  const kept = await page.evaluate(async () => ({
    local: localStorage.length,
    session: sessionStorage.length,
    databases: (await indexedDB.databases()).length,
    cached: (await Promise.all((await caches.keys()).map(async (name) =>
      (await (await caches.open(name)).keys()).map((request) => new URL(request.url).pathname)))).flat(),
  }));
  assert.deepEqual([kept.local, kept.session, kept.databases], [0, 0, 0]);
  for (const file of kept.cached) {
    assert.ok(file === "/" || fs.existsSync(path.join(site, file)), `${file} is not a file of the site`);
  }

  await context.setOffline(true);
  await page.reload();
  await started(page);
  assert.equal(await page.evaluate(() => document.activeElement.id), "field-510");
  await context.close();
});
