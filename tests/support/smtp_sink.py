#!/usr/bin/python3
"""An SMTP server on 127.0.0.1 for tests, built on aiosmtpd.

Every accepted message is written to OUTDIR/NNN.json with the greeting name, the envelope, the
raw message and its parsed subject, body and headers. Modes:
  accept       accept every message
  reject-rcpt  answer RCPT with 550
  stall        accept connections and never say a word
Prints "READY <port>" once it listens; runs until killed.
"""
import argparse
import asyncio
import email
import email.policy
import json
import os
import socket
import sys
import threading
import time


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Sink:
    def __init__(self, outdir, mode):
        self.outdir = outdir
        self.mode = mode
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if self.mode == "reject-rcpt":
            return "550 5.1.1 Mailbox unavailable"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        raw = envelope.original_content or envelope.content
        message = email.message_from_bytes(raw, policy=email.policy.default)
        body = message.get_body(preferencelist=("plain",))
        record = {
            "helo": session.host_name,
            "from": envelope.mail_from,
            "to": envelope.rcpt_tos,
            "raw": raw.decode("latin-1"),
            "subject": str(message["subject"]),
            "body": body.get_content() if body is not None else None,
            "headers": [[k, str(v)] for k, v in message.items()],
            "defects": [str(d) for d in message.defects],
        }
        self.count += 1
        path = os.path.join(self.outdir, "%03d.json" % self.count)
        with open(path + ".part", "w") as f:
            json.dump(record, f)
        os.replace(path + ".part", path)
        return "250 Message accepted"


def stall(port):
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen(16)
    print("READY %d" % port, flush=True)
    held = []
    while True:
        connection, _ = listener.accept()
        held.append(connection)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--outdir", required=True)
    parser.add_argument("--mode", default="accept", choices=["accept", "reject-rcpt", "stall"])
    parser.add_argument("--port", type=int, default=0)
    args = parser.parse_args()
    port = args.port or free_port()
    if args.mode == "stall":
        stall(port)
        return

    from aiosmtpd.controller import Controller
    controller = Controller(Sink(args.outdir, args.mode), hostname="127.0.0.1", port=port)
    controller.start()
    print("READY %d" % port, flush=True)
    try:
        while True:
            time.sleep(3600)
    finally:
        controller.stop()


if __name__ == "__main__":
    main()
