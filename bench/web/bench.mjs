// TANU's page in headless Chromium: the time from navigation to the first whole chart, and one
// full chart paint on the canvas (median of 100). Usage, after tools/test.sh web has built the
// site and installed the test driver: node bench/web/bench.mjs [runs]
import { launchChromium, serveSite, started } from "../../tests/web/site.mjs";

const server = await serveSite();
const browser = await launchChromium();
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const runs = Number(process.argv[2] || 10);
const starts = [];
for (let i = 0; i < runs; ++i) {
  // A new context each time: nothing cached, no service worker yet, as on a first visit.
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.goto(server.origin + "/");
  await started(page);
  starts.push(await page.evaluate(() => TANU.startedAt));
  await context.close();
}
const context = await browser.newContext();
const page = await context.newPage();
await page.goto(server.origin + "/");
await started(page);
// The browser's clock ticks in 100 µs steps, so each of the 100 samples is ten paints; reading
// a pixel back makes each paint reach the canvas's pixels, not only its command list.
const paints = await page.evaluate(() => {
  const canvas = document.getElementById("chart").getContext("2d");
  const times = [];
  for (let i = 0; i < 100; ++i) {
    const start = performance.now();
    for (let k = 0; k < 10; ++k) {
      Module.ccall("tanu_paint", null, [], []);
      canvas.getImageData(0, 0, 1, 1);
    }
    times.push((performance.now() - start) / 10);
  }
  return times;
});
console.log(`navigation to the first whole chart, median of ${runs}: ${median(starts).toFixed(1)} ms ` +
            `(min ${Math.min(...starts).toFixed(1)}, max ${Math.max(...starts).toFixed(1)})`);
console.log(`one full chart paint on the canvas, median of 100: ${(median(paints) * 1000).toFixed(0)} µs`);
await browser.close();
server.close();
