#!/usr/bin/env python3
"""Delivers one paid order over RCON with Debian's python3-rcon, exactly once.

usage: deliver.py HOST PORT PASSWORD ORDER_ID LINE
LINE is a targeted spawn line, e.g.
  KV.SpawnDinoFor 1002 "Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP'" "" 0 150 0 0 0 0 0

Sends "KV.Order ORDER_ID LINE". When the connection drops or the reply does not
come in time, nobody knows whether the server ran the order, so it asks again
with the same id: the server runs an order id at most once and answers a repeat
with what it recorded. Prints the final reply (one JSON line).

Exit status: 0 the player got something (delivered, kept-in-world, partly,
or an interrupted order a person settled as delivered with KV.OrderSettle);
2 nothing was made (the order stays open: retry later, e.g. once the player is
on this server); 3 a person should look (failed, interrupted); 1 refused or the
server never answered.
"""
import json
import sys
import time

from rcon.exceptions import EmptyResponse, SessionTimeout, WrongPassword
from rcon.source import Client

ATTEMPTS = 10
PAUSE_SECONDS = 1.0
GAVE_SOMETHING = {"delivered", "kept-in-world", "partly"}
ASK_A_PERSON = {"failed", "interrupted"}


def ask(host, port, password, command):
    """The server's reply, parsed; None when the connection failed or timed out."""
    try:
        with Client(host, port, passwd=password, timeout=5) as client:
            return json.loads(client.run(command))
    except WrongPassword:
        raise
    except (OSError, EOFError, ValueError, EmptyResponse, SessionTimeout):
        return None  # a dropped connection, a timeout or a cut reply: the same id again


def main():
    host, port, password, order_id, line = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4], sys.argv[5]
    for attempt in range(1, ATTEMPTS + 1):
        reply = ask(host, port, password, f"KV.Order {order_id} {line}")
        if reply is None:
            print(f"attempt {attempt}: no answer; asking again with the same id", file=sys.stderr)
            time.sleep(PAUSE_SECONDS)
            continue
        print(json.dumps(reply, separators=(",", ":")))
        result = (reply.get("outcome") or {}).get("result")
        settlement = reply.get("settlement") or {}
        if result in GAVE_SOMETHING or settlement.get("decision") == "delivered":
            return 0
        if result == "nothing":
            return 2
        if result in ASK_A_PERSON:
            return 3
        return 1  # refused: "error" says why (not recorded, so not run)
    print(f"no answer after {ATTEMPTS} attempts; order {order_id} is still open", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
