// The page's picture for the README, with the profile tools/screenshots.sh shows in the desktop
// programs: docs/screenshot-web.png. Needs the site built and the test driver installed
// (tools/test.sh web). Usage: node tools/web-screenshot.mjs
import path from "node:path";
import { fileURLToPath } from "node:url";
import { catchFileChoosers, launchChromium, serveSite, started } from "../tests/web/site.mjs";

const root = path.join(path.dirname(fileURLToPath(import.meta.url)), "..");
const server = await serveSite();
const browser = await launchChromium();
const page = await browser.newPage({ viewport: { width: 960, height: 760 } });
const openFile = catchFileChoosers(page);
await page.goto(server.origin + "/");
await started(page);
await openFile("anna.tanu", Buffer.from(
  "Anna Example\r\n2015/3/10\r\n2024/6/1\r\nMr Jones\r\n9\r\n8\r\n10\r\n7\r\n11\r\n9\r\n6\r\n12\r\n10\r\n8\r\n", "latin1"));
await page.evaluate(() => TANU.queue);
await page.locator("#window").screenshot({ path: path.join(root, "docs/screenshot-web.png") });
await browser.close();
server.close();
