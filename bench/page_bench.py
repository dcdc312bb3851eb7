#!/usr/bin/env python3
"""Times the page in headless Chromium (software WebGL), driven over the
DevTools protocol through a pipe: opens URL at WIDTHxHEIGHT, waits for the
run to end (the benchmark's last frame), and prints the time from opening
the page to its first frame and the frames drawn, then what the program
printed (the benchmark's report). With CRYPTWELL_PAGE_SHOT set, it saves
there a PNG of the page's last frame, without the line that says the run
has ended.
    page_bench.py URL WIDTH HEIGHT [CHROMIUM_FLAG...]"""
import base64
import fcntl
import json
import os
import subprocess
import sys
import tempfile
import time

url, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
# The browser reads commands from descriptor 3 and writes replies to 4; the
# pipes' ends move above both first, as either may be 3 or 4 already.
commands_read, commands_write, replies_read, replies_write = (
    fcntl.fcntl(end, fcntl.F_DUPFD, 10) for end in (*os.pipe(), *os.pipe()))
os.dup2(commands_read, 3)
os.dup2(replies_write, 4)
profile = tempfile.mkdtemp()
browser = subprocess.Popen(
    ["chromium", "--headless", "--no-sandbox", "--enable-unsafe-swiftshader",
     "--use-angle=swiftshader", "--remote-debugging-pipe", "--no-first-run",
     "--user-data-dir=" + profile, *sys.argv[4:], "about:blank"],
    pass_fds=(3, 4), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
unread = b""
printed = []
next_id = 0


def call(method, params=None, session=None):
    global unread, next_id
    next_id += 1
    message = {"id": next_id, "method": method, "params": params or {}}
    if session:
        message["sessionId"] = session
    os.write(commands_write, json.dumps(message).encode() + b"\0")
    while True:
        while b"\0" not in unread:
            unread += os.read(replies_read, 1 << 16)
        text, unread = unread.split(b"\0", 1)
        reply = json.loads(text)
        if reply.get("id") == next_id:
            return reply.get("result", {})
        if reply.get("method") == "Runtime.consoleAPICalled":
            printed.extend(str(a.get("value", "")) for a in reply["params"]["args"])


target = call("Target.createTarget", {"url": "about:blank"})["targetId"]
session = call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
call("Runtime.enable", session=session)
call("Emulation.setDeviceMetricsOverride",
     {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": False}, session)
call("Page.navigate", {"url": url}, session)


def evaluate(expression):
    result = call("Runtime.evaluate", {"expression": expression, "returnByValue": True}, session)
    return result.get("result", {}).get("value")


deadline = time.monotonic() + 600
while not evaluate("!notice.hidden") and time.monotonic() < deadline:
    time.sleep(0.5)
print("first frame %.0f ms after opening the page; %d frames drawn" %
      (evaluate("Module.firstFrameMs"), evaluate("Module._webFramesDrawn()")))
if os.environ.get("CRYPTWELL_PAGE_SHOT"):
    evaluate("notice.hidden = true")
    shot = call("Page.captureScreenshot", {"format": "png"}, session)["data"]
    with open(os.environ["CRYPTWELL_PAGE_SHOT"], "wb") as picture:
        picture.write(base64.b64decode(shot))
print("\n".join(printed))
browser.kill()
