#!/usr/bin/python3
"""The page's figures, from one headless Chromium run, each against a
baseline measured in the same run:

  web page ready:            navigation until the page takes clicks, against a blank page
  web dot toggle with repaint: a click's step until the grid's style and layout are done
  web picture switch (N pictures): PgDown or PgUp on the grid until the grid's and the strip's style and layout are done
  web LCDtoCODE:             the generator in WebAssembly, against the native one
  web page size:             gzip-compressed, Unifont's glyph data apart, against 400 KB

Usage: web_bench.py PAGE_HTML CORE_BENCH [RUNS]
"""
import gzip
import json
import re
import statistics
import subprocess
import sys
import tempfile
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

PAGE, CORE_BENCH = Path(sys.argv[1]).resolve(), sys.argv[2]
RUNS = int(sys.argv[3]) if len(sys.argv) > 3 and sys.argv[3] else 15
WORK = Path(tempfile.mkdtemp(prefix="tessaldo-web-bench-"))


def figure(name, value, spread, unit, ratio, baseline):
    print(f"{name}: {value:.3g} ± {spread:.2g} {unit} ({ratio:.2f} x {baseline})")


def spread(values):
    quartiles = statistics.quantiles(values, n=4) if len(values) > 1 else [values[0]] * 3
    return (quartiles[2] - quartiles[0]) / 2


def browser():
    options = webdriver.ChromeOptions()
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 f"--user-data-dir={WORK / 'profile'}"):
        options.add_argument(flag)
    options.binary_location = "/usr/bin/chromium"
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def ready_time(driver, url, condition):
    driver.get(url)
    driver.execute_async_script("""
        const done = arguments[arguments.length - 1];
        const wait = () => (%s) ? done() : setTimeout(wait, 1);
        wait();""" % condition)
    return driver.execute_script("return window.tessaldoReadyAt || performance.timing.loadEventEnd - performance.timing.navigationStart")


def native_lcdtocode_ns():
    out = WORK / "native.json"
    subprocess.run([CORE_BENCH, "--benchmark_filter=^BM_LCDtoCODE$", f"--benchmark_out={out}",
                    "--benchmark_out_format=json", "--benchmark_repetitions=5", "--benchmark_min_time=0.2"],
                   capture_output=True, check=True)
    return next(b["real_time"] for b in json.loads(out.read_text())["benchmarks"] if b["name"].endswith("_median"))


def main():
    blank = WORK / "blank.html"
    blank.write_text("<!DOCTYPE html><title>blank</title><p>blank</p>")
    driver = browser()
    try:
        page, empty = [], []
        for _ in range(RUNS):
            page.append(ready_time(driver, PAGE.as_uri(), "document.documentElement.dataset.ready === 'true'"))
            empty.append(ready_time(driver, blank.as_uri(), "document.readyState === 'complete' && performance.timing.loadEventEnd > 0"))
        figure("web page ready", statistics.median(page), spread(page), "ms", statistics.median(page) / statistics.median(empty),
               f"a blank page, {statistics.median(empty):.3g} ms")
        driver.get(PAGE.as_uri())
        driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            const wait = () => document.documentElement.dataset.ready ? done() : setTimeout(wait, 1);
            wait();""")
        # The timer is coarse in a page opened from disk, so each figure is a batch's mean.
        rounds = driver.execute_script("""
            const cell = document.getElementById('dot-40');
            const grid = document.getElementById('lbDot');
            const box = cell.getBoundingClientRect();
            const at = { clientX: box.left + 4, clientY: box.top + 4, button: 0, bubbles: true, pointerId: 1 };
            const batch = 200, toggles = [], restyles = [];
            for (let round = 0; round < %d; ++round) {
                let start = performance.now();
                for (let i = 0; i < batch; ++i) {
                    grid.dispatchEvent(new PointerEvent('pointerdown', at));
                    grid.dispatchEvent(new PointerEvent('pointerup', at));
                    getComputedStyle(cell).backgroundColor; grid.offsetHeight;
                }
                toggles.push((performance.now() - start) / batch);
                start = performance.now();
                for (let i = 0; i < batch; ++i) {
                    cell.style.outlineColor = i %% 2 ? 'red' : 'blue';
                    getComputedStyle(cell).outlineColor; grid.offsetHeight;
                }
                restyles.push((performance.now() - start) / batch);
            }
            return [toggles, restyles];""" % RUNS)
        times, plain = rounds
        median, base = statistics.median(times), statistics.median(plain)
        figure("web dot toggle with repaint", median * 1000, spread(times) * 1000, "us", median / base,
               f"restyling one cell, {base * 1000:.3g} us")
        for count in (3, 1000):
            times = driver.execute_script("""
                const { session, core } = window.tessaldoBench;
                const grid = document.getElementById('lbDot');
                while (session().count() < arguments[0]) {
                    session().perform(core.CommandId.AddPicture);
                    session().toggleDot(session().count() % 256);
                }
                session().select(arguments[0] >> 1);
                const batch = 200, times = [];
                for (let round = 0; round < arguments[1]; ++round) {
                    const start = performance.now();
                    for (let i = 0; i < batch; ++i) {
                        grid.dispatchEvent(new KeyboardEvent('keydown', { key: i % 2 ? 'PageUp' : 'PageDown', bubbles: true }));
                        document.getElementById('setStrip').offsetHeight; grid.offsetHeight;
                    }
                    times.push((performance.now() - start) / batch);
                }
                return times;""", count, RUNS)
            median = statistics.median(times)
            figure(f"web picture switch ({count} pictures)", median * 1000, spread(times) * 1000, "us", median / base,
                   f"restyling one cell, {base * 1000:.3g} us")
        dots = "".join("1" if (i * 37) % 3 == 0 else "0" for i in range(256))
        wasm = statistics.median(driver.execute_script(
            "const { core } = window.tessaldoBench; return [1, 2, 3, 4, 5].map(() => core.timeLcdToCode(arguments[0], 200000));", dots))
        native = native_lcdtocode_ns()
        figure("web LCDtoCODE", wasm, 0, "ns", wasm / native, f"native LCDtoCODE, {native:.3g} ns")
    finally:
        driver.quit()
    html = PAGE.read_text(encoding="utf-8")
    without_glyphs = re.sub(r'(<script type="text/plain" id="unifont-glyphs">).*?(</script>)', r"\1\2", html, flags=re.S)
    size = len(gzip.compress(without_glyphs.encode(), 9)) / 1000
    figure("web page size", size, 0, "KB gzip", size / 400, "the 400 KB allowed")


if __name__ == "__main__":
    main()
