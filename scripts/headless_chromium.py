#!/usr/bin/env python3
"""Headless Chromium for the page's tests, its benchmark and its screenshot.

Starts Debian's chromium through its own chromedriver (scripts/setup-deps.sh test installs
both, and Selenium into .deps/), with a fresh profile, no sandbox (so that it runs as root
as well as any user) and none of the browser's own background traffic, and keeps the
console and network logs.

As a command, takes a screenshot of a page with a person selected:
  headless_chromium.py PAGE.html PICTURE.png [ID [WIDTH HEIGHT]]"""

import contextlib
import shutil
import sys
import tempfile
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

FLAGS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--no-first-run", "--hide-scrollbars"]


@contextlib.contextmanager
def chromium(width=1400, height=900):
    """A WebDriver session on a new headless Chromium, quit and its profile removed after."""
    with tempfile.TemporaryDirectory(prefix="kinship-chromium-") as profile:
        options = webdriver.ChromeOptions()
        options.binary_location = shutil.which("chromium") or "/usr/bin/chromium"
        for flag in FLAGS + [f"--user-data-dir={profile}", f"--window-size={width},{height}"]:
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
        service = Service(executable_path=shutil.which("chromedriver") or "/usr/bin/chromedriver")
        driver = webdriver.Chrome(options=options, service=service)
        try:
            yield driver
        finally:
            driver.quit()


def settled(driver):
    """Waits until the page has painted its view whole (the canvas says so), at most 60 s."""
    driver.set_script_timeout(90)
    driver.execute_async_script("""const done = arguments[0], until = Date.now() + 60000;
const wait = () => (document.getElementById('drawing') || {dataset: {whole: 'true'}})
  .dataset.whole === 'true' || Date.now() > until
  ? requestAnimationFrame(() => setTimeout(done, 50)) : setTimeout(wait, 20);
wait();""")


def screenshot(page, picture, person=None, width=1400, height=900):
    with chromium(int(width), int(height)) as driver:
        driver.get(Path(page).resolve().as_uri() + (f"#id={person}" if person else ""))
        settled(driver)
        driver.save_screenshot(str(picture))


if __name__ == "__main__":
    if not 3 <= len(sys.argv) <= 6:
        sys.exit(__doc__.split("\n\n")[-1])
    screenshot(*sys.argv[1:])
