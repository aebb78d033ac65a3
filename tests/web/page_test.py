#!/usr/bin/python3
"""The page in a real headless Chromium, opened from file://, against the
command-line tool on the same pictures: the controls' places, drawing, Run
and the clipboard, Save and Open, the history, a transform, an import, text,
sending, the set of pictures, and what a screen reader is given.

Usage: page_test.py PAGE_HTML TESSALDO_CLI
"""
import base64
import json
import subprocess
import sys
import tempfile
import traceback
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.wait import WebDriverWait

PAGE, CLI = sys.argv[1], sys.argv[2]
WORK = Path(tempfile.mkdtemp(prefix="tessaldo-page-"))
results = []


def browser():
    options = webdriver.ChromeOptions()
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 f"--user-data-dir={WORK / 'profile'}", "--window-size=600,800"):
        options.add_argument(flag)
    options.binary_location = "/usr/bin/chromium"
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def cli(*args, stdin=None):
    done = subprocess.run([CLI, *args], input=stdin, capture_output=True, check=True)
    return done.stdout


def wait_for(driver, what, condition):
    """condition(driver)'s first true value: a busy machine makes the page slower, not wrong."""
    return WebDriverWait(driver, 30, poll_frequency=0.05).until(condition, f"timed out waiting for {what}")


def started(driver):
    wait_for(driver, "the page to start",
             lambda d: d.execute_script("return document.documentElement.dataset.ready") == "true")


def fresh(driver):
    # The page brings back the work the last check left in the browser's storage: emptied, it starts blank.
    driver.get(Path(PAGE).resolve().as_uri())
    started(driver)
    driver.execute_script("localStorage.clear(); sessionStorage.clear();")
    driver.refresh()
    started(driver)
    # Stand-ins for what a headless browser cannot do on its own: pickers, clipboard, serial port.
    driver.execute_script("""
        window.recorded = {};
        window.showSaveFilePicker = async () => ({ createWritable: async () => ({
            write: async (blob) => { recorded.saved = new Uint8Array(await blob.arrayBuffer()); },
            close: async () => {} }) });
        window.nextFile = null;
        window.showOpenFilePicker = async () => [{ getFile: async () => window.nextFile }];
        Object.defineProperty(navigator, 'clipboard', { value: {
            writeText: async (text) => { recorded.clipboard = text; } } });
    """)


def recorded(driver, key):
    """What a stand-in recorded under key, once it has."""
    return wait_for(driver, f"recorded.{key}", lambda d: d.execute_script("""
        const value = recorded[arguments[0]];
        return arguments[0] in recorded ? [ArrayBuffer.isView(value) ? Array.from(value) : value] : null;""", key))[0]


def cell(driver, dot):
    return driver.find_element(By.ID, f"dot-{dot}")


def click_dot(driver, dot):
    ActionChains(driver).move_to_element(cell(driver, dot)).click().perform()


def press(driver, caption):
    driver.find_element(By.CSS_SELECTOR, f'#tbarMain button[aria-label="{caption}"]').click()


def dots(driver):
    return driver.execute_script("""return Array.from({ length: 256 }, (_, dot) =>
        document.getElementById(`dot-${dot}`).getAttribute('aria-checked') === 'true' ? '1' : '0').join('')""")


def wait_for_dots(driver, expected):
    wait_for(driver, f"the dots {expected}", lambda d: dots(d) == expected)


def drawing_file(text_dots, type_):
    """The drawing file the desktop saves for these dots."""
    line = "".join("0" if d == "1" else "1" for d in text_dots)
    return f" {type_}\r\n{line}\r\n".encode()


def saved_bytes(driver):
    driver.execute_script("delete recorded.saved")
    press(driver, "Save")
    return bytes(recorded(driver, "saved"))


def give_file(driver, name, data):
    driver.execute_script("window.nextFile = new File([Uint8Array.from(atob(arguments[1]), c => c.charCodeAt(0))], arguments[0]);",
                          name, base64.b64encode(data).decode())


def drop_file(driver, name, data):
    driver.execute_script("""
        const file = new File([Uint8Array.from(atob(arguments[1]), c => c.charCodeAt(0))], arguments[0], { type: arguments[2] });
        const transfer = new DataTransfer();
        transfer.items.add(file);
        document.getElementById('frmMain').dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true }));
    """, name, base64.b64encode(data).decode(), "image/png" if name.endswith(".png") else "")


def message(driver):
    """The text of the message box the page shows, which is then closed."""
    text = wait_for(driver, "a message", lambda d: d.find_elements(By.CSS_SELECTOR, "dialog[open] .message-text"))[0].text
    driver.find_element(By.CSS_SELECTOR, "dialog[open] button").click()
    return text


def check(name):
    def wrap(test):
        results.append((name, test))
        return test
    return wrap


@check("controls sit at the desktop's places, in both layouts")
def places(driver):
    # The window is zoomed to fill the view: places are read back in its own pixels.
    zoom, *origin = driver.execute_script("const main = document.getElementById('frmMain'); const b = main.getBoundingClientRect();"
                                          " return [main.currentCSSZoom, b.left + main.clientLeft * main.currentCSSZoom, b.top + main.clientTop * main.currentCSSZoom];")
    def box(id_):
        b = driver.execute_script("return document.getElementById(arguments[0]).getBoundingClientRect().toJSON();", id_)
        return [round((b["x"] - origin[0]) / zoom), round((b["y"] - origin[1]) / zoom), round(b["width"] / zoom), round(b["height"] / zoom)]
    expected = {"tbarMain": [0, 0, 243, 57], "Frame2": [4, 59, 236, 60], "optType0": [14, 78, 155, 14],
                "optType1": [14, 97, 155, 14], "Frame1": [3, 124, 238, 245], "txtData": [2, 372, 237, 79],
                "cmdCopy": [3, 455, 234, 30], "lbDot": [16, 144, 209, 209]}
    for id_, place in expected.items():
        assert box(id_) == place, (id_, box(id_), place)
    captions = [b.get_attribute("aria-label") for b in driver.find_elements(By.CSS_SELECTOR, "#tbarMain button")]
    assert captions == ["New", "Open", "Save", "Run", "About"], captions
    assert driver.title == "Tessaldo " + cli("--version").decode().split()[1], driver.title
    assert box("dot-16")[:2] == [16 + 14, 144 + 1], box("dot-16")  # second column, first row
    driver.find_element(By.CSS_SELECTOR, "#optType1 input").click()
    assert box("dot-16")[:2] == [16 + 1, 144 + 14], box("dot-16")  # first column, second row
    assert cell(driver, 37).get_attribute("title") == "Dot 37: byte 4 (first printf), bit 5 = 0x20"


@check("clicks, a drag, Run, Copy, Ctrl+C and Save give the desktop's bytes")
def drawing(driver):
    click_dot(driver, 0)
    click_dot(driver, 200)
    # A drag along row 1 in the column layout, from column 1 to column 4: dots 17, 33, 49 and 65.
    start, end = cell(driver, 17), cell(driver, 65)
    ActionChains(driver).move_to_element(start).click_and_hold().move_to_element(end).release().perform()
    picture = dots(driver)
    assert picture.count("1") == 6, picture
    press(driver, "Run")
    code = driver.execute_script("return document.getElementById('txtData').value").replace("\n", "\r\n")
    saved = saved_bytes(driver)
    assert saved == drawing_file(picture, 0), saved
    (WORK / "drawn.Lcd").write_bytes(saved)
    assert cli("code", str(WORK / "drawn.Lcd")) == (code + "\r\n").encode()
    assert cli("edit", str(WORK / "drawn.Lcd"), "-") == saved
    driver.find_element(By.ID, "cmdCopy").click()
    assert recorded(driver, "clipboard") == code
    wait_for(driver, "the code box to empty",
             lambda d: d.execute_script("return document.getElementById('txtData').value") == "")
    # Ctrl+C on the grid presses the copy button too.
    press(driver, "Run")
    driver.execute_script("delete recorded.clipboard")
    driver.find_element(By.ID, "lbDot").send_keys(Keys.CONTROL, "c")
    assert recorded(driver, "clipboard") == code


@check("Open takes good and legacy files and refuses junk with the desktop's reason")
def opening(driver):
    good = drawing_file("1" * 10 + "0" * 246, 1)
    give_file(driver, "good.Lcd", good)
    press(driver, "Open")
    wait_for_dots(driver, "1" * 10 + "0" * 246)
    assert driver.find_element(By.CSS_SELECTOR, "#optType1 input").is_selected()
    give_file(driver, "old.Lcd", ("0" + "1" * 254 + "\r\n").encode())
    press(driver, "Open")
    wait_for_dots(driver, "1" + "0" * 255)
    junk = Path("/etc/passwd").read_bytes()
    give_file(driver, "passwd", junk)
    press(driver, "Open")
    expected = subprocess.run([CLI, "code", "-"], input=junk, capture_output=True).stderr.decode().strip()
    assert message(driver) == expected.replace("standard input", '"passwd"').replace('Cannot read "passwd"', 'Cannot open "passwd"'), expected
    assert dots(driver) == "1" + "0" * 255


@check("undo and redo walk the history; a transform acts as the screen shows it")
def history(driver):
    click_dot(driver, 5)
    click_dot(driver, 6)
    grid = driver.find_element(By.ID, "lbDot")
    grid.send_keys(Keys.CONTROL, "z")
    assert dots(driver)[5:7] == "10"
    grid.send_keys(Keys.CONTROL, Keys.SHIFT, "z")
    assert dots(driver)[5:7] == "11"
    for type_ in (0, 1):
        driver.find_element(By.CSS_SELECTOR, f"#optType{type_} input").click()
        before = dots(driver)
        (WORK / "t.Lcd").write_bytes(drawing_file(before, type_))
        grid.send_keys(Keys.SHIFT, Keys.ARROW_RIGHT)
        assert drawing_file(dots(driver), type_) == cli("edit", str(WORK / "t.Lcd"), "-", "shift-right"), type_


@check("an imported PNG gives the dots tessaldo-cli import gives")
def importing(driver):
    (WORK / "p.Lcd").write_bytes(drawing_file("".join("1" if (i * 7) % 5 < 2 else "0" for i in range(256)), 0))
    png = WORK / "p.png"
    cli("png", str(WORK / "p.Lcd"), str(png), "--scale", "3")
    drop_file(driver, "p.png", png.read_bytes())
    threshold = wait_for(driver, "the import dialog",
                         lambda d: d.find_elements(By.CSS_SELECTOR, "dialog[open] input#threshold"))[0]
    threshold.clear()
    threshold.send_keys("100")
    driver.find_element(By.CSS_SELECTOR, 'dialog[open] button[value="ok"]').click()
    expected = cli("import", str(png), "-", "--threshold", "100")
    wait_for(driver, "the imported dots", lambda d: drawing_file(dots(d), 0) == expected)
    big = b"\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR" + (100000).to_bytes(4, "big") * 2 + b"\x08\x02\x00\x00\x00"
    drop_file(driver, "big.png", big)
    assert message(driver) == 'Cannot import "big.png": it is 100000 x 100000 pixels; images up to 64 megapixels can be imported.'
    gif = (Path(__file__).resolve().parent.parent / "data" / "partial-frames.gif").read_bytes()
    for name, data, reason in (("cut.gif", gif[:len(gif) // 2], "the GIF ends before its last frame"),
                               ("cut.jpg", b"\xff\xd8\xff\xe0\x00\x10JFIF\x00", "the JPEG data ends early")):
        drop_file(driver, name, data)
        assert message(driver) == f'Cannot import "{name}": {reason}.'


@check("Insert Text draws Unifont's own glyph")
def text(driver):
    ActionChains(driver).context_click(cell(driver, 0)).perform()
    driver.find_element(By.XPATH, '//*[@role="menuitem"][span[text()="Insert Text…"]]').click()
    box = driver.find_element(By.CSS_SELECTOR, "dialog[open] #text")
    box.send_keys("한")
    # The width shows once the glyph is drawn in the preview, which OK takes.
    wait_for(driver, "the preview", lambda d: d.find_element(By.CSS_SELECTOR, "dialog[open] #width").text)
    driver.find_element(By.CSS_SELECTOR, 'dialog[open] button[value="ok"]').click()
    expected = cli("text", "한", "-")
    wait_for(driver, "the text's dots", lambda d: drawing_file(dots(d), 0) == expected)


@check("Send writes exactly the 33 bytes, 8N1 at the chosen rate")
def sending(driver):
    driver.execute_script("""
        Object.defineProperty(navigator, 'serial', { value: { requestPort: async () => ({
            getInfo: () => ({}),
            open: async (options) => { recorded.opened = options; },
            close: async () => { recorded.closed = true; },
            writable: { getWriter: () => ({ write: async (bytes) => { recorded.sent = Array.from(bytes); },
                                            releaseLock: () => {} }) } }) } });
    """)
    click_dot(driver, 9)
    ActionChains(driver).context_click(cell(driver, 0)).perform()
    driver.find_element(By.XPATH, '//*[@role="menuitem"][span[text()="Send to Module…"]]').click()
    driver.find_element(By.ID, "choosePort").click()
    wait_for(driver, "the chosen port", lambda d: d.find_element(By.ID, "port").text != "none chosen")
    driver.find_element(By.CSS_SELECTOR, '#baud option[value="115200"]').click()
    driver.find_element(By.ID, "send").click()
    result = wait_for(driver, "the result of sending", lambda d: d.find_element(By.ID, "result").text)
    assert result == "Sent 33 bytes to the chosen port at 115200 baud.", result
    (WORK / "s.Lcd").write_bytes(drawing_file(dots(driver), 0))
    assert bytes(recorded(driver, "sent")) == cli("code", str(WORK / "s.Lcd"), "--format", "raw")
    assert recorded(driver, "opened") == {"baudRate": 115200, "dataBits": 8, "stopBits": 1, "parity": "none", "flowControl": "none"}
    driver.find_element(By.CSS_SELECTOR, 'dialog[open] button[value=""]').click()
    # Play on Module sends each picture as it is shown, at the rate chosen last, until Stop.
    driver.execute_script("recorded.played = []; recorded.sent = null;")
    driver.find_element(By.ID, "lbDot").send_keys(Keys.INSERT)
    set_command(driver, "Play on Module…")
    driver.find_element(By.ID, "play").click()
    wait_for(driver, "two pictures sent", lambda d: d.execute_script(
        "if (recorded.sent) recorded.played.push(recorded.sent[2]); recorded.sent = null; return new Set(recorded.played).size == 2"))
    driver.find_element(By.ID, "play").click()
    wait_for(driver, "the end of playing", lambda d: d.find_element(By.ID, "result").text.startswith("Sent"))
    assert driver.find_element(By.ID, "result").text.endswith("pictures to the chosen port at 115200 baud.")


def strip(driver):
    """The strip's pictures as [name, selected], in order."""
    return driver.execute_script("""return [...document.querySelectorAll('#setStrip [role="option"]')]
        .sort((a, b) => a.dataset.index - b.dataset.index)
        .map((o) => [o.querySelector('.strip-name').textContent, o.getAttribute('aria-selected') === 'true'])""")


def names(driver):
    return [name for name, _ in strip(driver)]


def set_command(driver, caption):
    ActionChains(driver).context_click(cell(driver, 0)).perform()
    driver.find_element(By.XPATH, '//*[@role="menuitem"][span[text()="Set"]]').click()
    driver.find_element(By.XPATH, f'//*[starts-with(@role, "menuitem")][span[text()="{caption}"]]').click()


def set_button(driver, caption):
    return driver.find_element(By.XPATH, f'//*[@class="set-buttons"]/button[text()="{caption}"]')


def three_pictures(driver):
    """Dots 0, 1 and 2 set in the pictures picture, picture_2 and picture_3, the last edited."""
    grid = driver.find_element(By.ID, "lbDot")
    assert not driver.find_element(By.ID, "setStrip").is_displayed()
    click_dot(driver, 0)
    for dot in (1, 2):
        grid.send_keys(Keys.INSERT)
        click_dot(driver, dot)
    assert strip(driver) == [["picture", False], ["picture_2", False], ["picture_3", True]], strip(driver)
    return grid


@check("the set: keys add, walk, move and delete, a drag reorders, rename refuses then takes, undo")
def set_editing(driver):
    grid = three_pictures(driver)
    grid.send_keys(Keys.PAGE_UP)
    grid.send_keys(Keys.SHIFT, Keys.PAGE_UP)
    assert strip(driver) == [["picture_2", True], ["picture", False], ["picture_3", False]], strip(driver)
    assert dots(driver)[:3] == "010"
    # A drag of the first picture to below the last.
    driver.execute_script("""
        const strip = document.getElementById('setStrip'), transfer = new DataTransfer();
        const first = strip.querySelector('[data-index="0"]'), box = strip.getBoundingClientRect();
        first.dispatchEvent(new DragEvent('dragstart', { dataTransfer: transfer, bubbles: true }));
        for (const type of ['dragover', 'drop'])
            strip.dispatchEvent(new DragEvent(type, { dataTransfer: transfer, bubbles: true, cancelable: true,
                clientX: box.left + 10, clientY: box.top + 3 * first.offsetHeight - 5 }));""")
    assert strip(driver) == [["picture", False], ["picture_3", False], ["picture_2", True]], strip(driver)
    grid.send_keys(Keys.CONTROL, "z")
    assert names(driver) == ["picture_2", "picture", "picture_3"], names(driver)
    listbox = driver.find_element(By.ID, "setStrip")
    listbox.send_keys(Keys.END)
    assert dots(driver)[:3] == "001"
    listbox.send_keys(Keys.HOME, Keys.ARROW_DOWN)
    assert dots(driver)[:3] == "100"
    listbox.send_keys(Keys.F2)
    box = driver.find_element(By.CSS_SELECTOR, "dialog[open] #pictureName")
    box.clear()
    box.send_keys("PICTURE_3", Keys.ENTER)
    refusal = driver.find_element(By.CSS_SELECTOR, "dialog[open] #problem").text
    assert refusal.startswith('Another picture is named "picture_3" already'), refusal
    box.clear()
    box.send_keys("arrow", Keys.ENTER)
    wait_for(driver, "the new name", lambda d: names(d) == ["picture_2", "arrow", "picture_3"])
    grid.send_keys(Keys.CONTROL, Keys.DELETE)
    assert strip(driver) == [["picture_2", False], ["picture_3", True]], strip(driver)
    grid.send_keys(Keys.CONTROL, "z")
    grid.send_keys(Keys.CONTROL, "z")
    assert strip(driver) == [["picture_2", False], ["picture", True], ["picture_3", False]], strip(driver)
    for caption in ("Copy", "Add", "Delete"):
        set_button(driver, caption).click()
    assert names(driver) == ["picture_2", "picture", "picture_4", "picture_3"], names(driver)


@check("onion skin shows the previous picture under clear cells; play walks the set until an edit")
def onion_and_play(driver):
    grid = three_pictures(driver)
    onion_skin = driver.find_element(By.CSS_SELECTOR, ".set-buttons input[type=checkbox]")
    onion_skin.click()
    assert onion_skin.is_selected()
    click_dot(driver, 1)  # the previous picture's dot, now set here too
    onion = driver.execute_script("return [...document.querySelectorAll('#lbDot .onion')].map((c) => c.id)")
    assert onion == [], onion
    grid.send_keys(Keys.PAGE_UP)
    onion = driver.execute_script("return [...document.querySelectorAll('#lbDot .onion')].map((c) => c.id)")
    assert onion == ["dot-0"], onion
    set_command(driver, "Picture Delay…")
    box = driver.find_element(By.CSS_SELECTOR, "dialog[open] #pictureDelay")
    box.clear()
    box.send_keys("70000", Keys.ENTER)
    assert driver.find_element(By.CSS_SELECTOR, "dialog[open] #problem").text == "A delay is 0 to 65535 milliseconds."
    box.clear()
    box.send_keys("30", Keys.ENTER)
    set_button(driver, "Play").click()
    seen = set()
    wait_for(driver, "every picture shown", lambda d: seen.add(dots(d)[:3]) or len(seen) == 3)
    assert set_button(driver, "Stop")
    click_dot(driver, 200)
    assert set_button(driver, "Play")
    shown = dots(driver)
    driver.execute_script("return new Promise((done) => setTimeout(done, 300))")
    assert dots(driver) == shown


def paste_text(driver, text):
    driver.execute_script("""
        const transfer = new DataTransfer();
        transfer.setData('text/plain', arguments[0]);
        document.getElementById('lbDot').dispatchEvent(new ClipboardEvent('paste', { clipboardData: transfer, bubbles: true }));
    """, text)


def set_dots(driver):
    """Each picture's dots, as the grid shows it when selected."""
    listbox = driver.find_element(By.ID, "setStrip")
    listbox.send_keys(Keys.HOME)
    shown = []
    for _ in names(driver):
        shown.append(dots(driver))
        listbox.send_keys(Keys.ARROW_DOWN)
    return shown


def leaving_asks(driver):
    return driver.execute_script("""const event = new Event('beforeunload', { cancelable: true });
        window.dispatchEvent(event); return event.defaultPrevented;""")


def lcd_dots(data):
    """The dots of a drawing file, '1' for set."""
    return "".join("1" if c == "0" else "0" for c in data.decode().split("\r\n")[1])


@check("a pasted header of six icons gives six; Save Set and Open Set give them back; a hand-written file is kept")
def set_files(driver):
    folder = WORK / "six"
    folder.mkdir()
    for letter in "ABCDEF":
        cli("text", letter, str(folder / f"{letter}.Lcd"))
    icons = [lcd_dots((folder / f"{letter}.Lcd").read_bytes()) for letter in "ABCDEF"]
    assert not leaving_asks(driver)
    paste_text(driver, cli("header", *sorted(map(str, folder.glob("*.Lcd"))), "--output", "-").decode())
    assert names(driver) == list("ABCDEF") and set_dots(driver) == icons, names(driver)
    assert leaving_asks(driver)
    driver.execute_script("""
        window.existing = '';
        window.showSaveFilePicker = async () => ({ name: 'six.h', getFile: async () => new File([existing], 'six.h'),
            createWritable: async () => ({ write: async (blob) => { recorded.saved = await blob.text(); }, close: async () => {} }) });""")
    driver.find_element(By.ID, "lbDot").send_keys(Keys.CONTROL, Keys.SHIFT, "s")
    header = recorded(driver, "saved")
    assert not leaving_asks(driver)
    (WORK / "six.h").write_text(header)
    cli("decode", str(WORK / "six.h"), "--each", str(WORK / "back"))
    assert [(WORK / "back" / f"{letter}.Lcd").read_bytes() for letter in "ABCDEF"] == \
        [(folder / f"{letter}.Lcd").read_bytes() for letter in "ABCDEF"]
    driver.execute_script("window.existing = 'int main(void) { return 0; }'; delete recorded.saved;")
    driver.find_element(By.ID, "lbDot").send_keys(Keys.CONTROL, Keys.SHIFT, "s")
    assert message(driver).startswith('Cannot save "six.h": it holds code that is no header of this program')
    give_file(driver, "six.h", header.encode())
    driver.find_element(By.ID, "lbDot").send_keys(Keys.INSERT, Keys.CONTROL, Keys.SHIFT, "o")
    wait_for(driver, "the set opened", lambda d: names(d) == list("ABCDEF"))
    assert set_dots(driver) == icons and not leaving_asks(driver)
    # Drawing files dropped together are a set too, named after them, and a folder gives them back;
    # anything else among them refuses them all, saying why.
    drop = lambda files: driver.execute_script("""
        const transfer = new DataTransfer();
        for (const [name, data] of arguments[0])
            transfer.items.add(new File([Uint8Array.from(atob(data), c => c.charCodeAt(0))], name));
        document.getElementById('frmMain').dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true }));
    """, [[name, base64.b64encode(data).decode()] for name, data in files])
    drop([("A.Lcd", (folder / "A.Lcd").read_bytes()), ("B.Lcd", (folder / "B.Lcd").read_bytes()), ("readme.txt", b"hi")])
    assert '"readme.txt"' in message(driver) and names(driver) == list("ABCDEF")
    drop([(f"{l}.Lcd", (folder / f"{l}.Lcd").read_bytes()) for l in "FEDCBA"])
    wait_for(driver, "the dropped set", lambda d: names(d) == list("FEDCBA"))
    driver.execute_script("""
        window.showDirectoryPicker = async () => ({ name: 'out', getFileHandle: async (name) => ({
            createWritable: async () => ({ write: async (blob) => {
                recorded[name] = new Uint8Array(await blob.arrayBuffer()); }, close: async () => {} }) }) });""")
    set_command(driver, "Save Set as Folder…")
    assert bytes(recorded(driver, "A.Lcd")) == (folder / "A.Lcd").read_bytes()


@check("an animated GIF opens at once as a set of its frames at their delays, as import --each makes them")
def gif_set(driver):
    # The second asks for 0, 10 and 50 ms, which viewers show for 100, 100 and 50.
    for gif in ("dispose-background.gif", "tiny-delays.gif"):
        path = Path(__file__).resolve().parent.parent / "data" / gif
        listed = [line for line in cli("import", str(path), "--each", str(WORK / gif)).decode().split("\n") if line]
        give_file(driver, "spin.gif", path.read_bytes())
        driver.execute_script("window.nextFile = new File([window.nextFile], 'spin.gif', { type: 'image/gif' })")
        driver.find_element(By.ID, "lbDot").send_keys(Keys.CONTROL, Keys.SHIFT, "o")
        wait_for(driver, "the frames", lambda d: names(d) == ["spin_000", "spin_001", "spin_002"])
        frames = sorted((WORK / gif).glob("*.Lcd"))
        # The names are the same for both: the second set is there when its dots are.
        expected = [lcd_dots(frame.read_bytes()) for frame in frames]
        wait_for(driver, "the frames' dots", lambda d: set_dots(d) == expected)
        delays = driver.execute_script("return [...document.querySelectorAll('#setStrip .strip-delay')].map((d) => d.textContent)")
        assert delays == [line.split(" ", 1)[1] for line in listed], delays
        spoken = driver.execute_script("const o = document.getElementById('picture-0'); "
                                       "return [o.getAttribute('aria-label'), o.getAttribute('aria-description')]")
        assert spoken == ["spin_000, picture 1 of 3", delays[0]], spoken


@check("a screen reader is given 256 check boxes named Dot N")
def accessibility(driver):
    click_dot(driver, 3)
    tree = driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
    boxes = [n for n in tree if n.get("role", {}).get("value") == "checkbox"]
    names = sorted(n["name"]["value"] for n in boxes)
    assert names == sorted(f"Dot {i}" for i in range(256)), names[:3]
    checked = [n["name"]["value"] for n in boxes
               if any(p["name"] == "checked" and p["value"]["value"] == "true" for p in n.get("properties", []))]
    assert checked == ["Dot 3"], checked
    driver.find_element(By.ID, "lbDot").send_keys(Keys.INSERT)
    tree = driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
    listbox = [n["name"]["value"] for n in tree if n.get("role", {}).get("value") == "listbox"]
    options = [n["name"]["value"] for n in tree if n.get("role", {}).get("value") == "option"]
    assert listbox == ["Pictures of the set"] and options == ["picture, picture 1 of 2", "picture_2, picture 2 of 2"], options


def main():
    driver = browser()
    failed = 0
    try:
        for name, test in results:
            fresh(driver)
            try:
                test(driver)
                print(f"ok: {name}")
            except Exception:
                failed += 1
                print(f"FAILED: {name}")
                traceback.print_exc()
    finally:
        driver.quit()
    print(f"{len(results) - failed} passed, {failed} failed")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
