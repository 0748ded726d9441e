#!/usr/bin/env python3
"""A demo chat site on 127.0.0.1: /chat/index.html lists who is online, and the list changes
every 20 seconds so friends arrive and leave.

    python3 scripts/demo_chat_site.py [--port 18631]
"""
import argparse
import html
import http.server
import random
import time

PEOPLE = ["anna", "bob_7", "chris", "dana", "eli", "fenja", "gus", "hilde", "ivo", "jule"]
PERIOD = 20


def online_now(now):
    chooser = random.Random(int(now // PERIOD))
    people = chooser.sample(PEOPLE, chooser.randint(2, 6))
    # The default friends drop in now and then.
    for friend in ("tavik", "morlo"):
        if chooser.random() < 0.5:
            people.insert(chooser.randint(0, len(people)), friend)
    return people


def page(now):
    people = online_now(now)
    names = " | ".join(html.escape(p) for p in people)
    return f"""<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Demo chat</title></head>
<body bgcolor="#202838" text="#e0e0e0">
<h1>Demo chat</h1>
<table width="100%"><tr>
<td><font face="Verdana" size="1">Online now: {len(people)} | {names}</font></td>
</tr></table>
<p>The room list changes every {PERIOD} seconds.</p>
</body></html>
""".encode("utf-8")


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path.split("?")[0] not in ("/chat/index.html", "/chat/", "/"):
            self.send_error(404, "Not Found")
            return
        body = page(time.time())
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, fmt, *args):
        pass


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--port", type=int, default=18631)
    args = parser.parse_args()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    print(f"demo chat site on http://127.0.0.1:{args.port}/chat/index.html", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
