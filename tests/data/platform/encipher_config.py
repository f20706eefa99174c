#!/usr/bin/env python3
"""Writes the enciphered configuration fixtures of the platform tests.

The files are made the way the platform's installer makes them, by a route independent of the
program's own code: RC4 with the 16-byte key made of the first five bytes of MD5 of the
configuration password and eleven zero bytes, over the whole text, then Base64 with a CR LF after
every 76 characters. Run it from any folder; it writes next to itself:

  program/special.txt           GBK text, section "special"
  program/config/Morvex.txt     GBK text, section "MorvexModuleURL"
  program_utf8/special.txt      the same caption written as UTF-8
  program_utf8/config/Morvex.txt  a text without the room page key
"""
import base64
import hashlib
import os

PASSWORD = b"mqzfTpx482"


def rc4(key: bytes, data: bytes) -> bytes:
    state = list(range(256))
    j = 0
    for i in range(256):
        j = (j + state[i] + key[i % len(key)]) % 256
        state[i], state[j] = state[j], state[i]
    i = j = 0
    out = bytearray()
    for byte in data:
        i = (i + 1) % 256
        j = (j + state[i]) % 256
        state[i], state[j] = state[j], state[i]
        out.append(byte ^ state[(state[i] + state[j]) % 256])
    return bytes(out)


def encipher(plain: bytes) -> bytes:
    key = hashlib.md5(PASSWORD).digest()[:5] + bytes(11)
    return base64.encodebytes(rc4(key, plain)).replace(b"\n", b"\r\n").rstrip(b"\r\n")


SPECIAL_GBK = "\r\n".join([
    "orphan=before any section",
    "[special]",
    "ProgramCaption=魔维客服",
    "customerId=C-42",
    "customerName =blank before the equals sign",
    "CoinInfoUrl=http://pay.example/coin?a=1&b=2",
    "chargetype=12abc",
    "specialgameid=-7",
    "specialgameplatform=",
    "LoginDlgNotShowWhenUpdateChecking=3",
    "customerId=C-43",
    "",
    "nodeurl=http://node.example/[x]",
    "uichargeurl=not in special",
]) + "\r\n"

MORVEX_GBK = "[MorvexModuleURL]\ncustomerurl=http://rooms.example/list.shtml\n"

SPECIAL_UTF8 = "[special]\nProgramCaption=魔维客服\nspecialgameplatform=5\n"

MORVEX_UTF8 = "[MorvexModuleURL]\nnodeurl=http://node.example/\n"


def write(relative: str, plain: bytes) -> None:
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(encipher(plain))


if __name__ == "__main__":
    write("program/special.txt", SPECIAL_GBK.encode("gbk") + b"\0trailing bytes after the end")
    write("program/config/Morvex.txt", MORVEX_GBK.encode("gbk"))
    write("program_utf8/special.txt", SPECIAL_UTF8.encode("utf-8"))
    write("program_utf8/config/Morvex.txt", MORVEX_UTF8.encode("utf-8"))
