"""Runs one command through Debian's python3-rcon, as an integrator's script would.

usage: rcon_python.py HOST PORT PASSWORD COMMAND
Prints the reply; "refused" (exit 5) for a wrong password; "error: ..." (exit 1) else.
"""
import sys

from rcon.exceptions import WrongPassword
from rcon.source import Client


def main() -> int:
    host, port, password, command = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
    try:
        with Client(host, port, passwd=password, timeout=5) as client:
            print(client.run(command))
    except WrongPassword:
        print("refused")
        return 5
    except Exception as error:  # whatever else goes wrong is the check's answer
        print(f"error: {type(error).__name__}: {error}")
        return 1
    return 0


sys.exit(main())
