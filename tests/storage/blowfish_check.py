#!/usr/bin/python3
"""Our Blowfish agrees with implementations nobody here wrote.

Compares blowfish_tool (our cipher and the document's record padding) with
python3-pycryptodome on random keys of 4 to 56 bytes and random buffers in
all three modes, and, for 16-byte keys, with `openssl enc` (which pads or cuts
every key to 16 bytes). Usage: blowfish_check.py PATH-TO-BLOWFISH-TOOL
"""
import random
import shutil
import subprocess
import sys

from Cryptodome.Cipher import Blowfish

TOOL = sys.argv[1]
CASES = 400
rng = random.Random(20240607)
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def ask_tool(requests):
    """Sends every request in one run; returns the answers in order."""
    text = "".join(" ".join(fields) + "\n" for fields in requests)
    out = subprocess.run([TOOL], input=text.encode(), check=True, capture_output=True).stdout
    return out.decode().splitlines()


def reference(key, mode, iv):
    key = key[:56]
    if mode == 0:
        return Blowfish.new(key, Blowfish.MODE_ECB)
    if mode == 1:
        return Blowfish.new(key, Blowfish.MODE_CBC, iv=iv)
    return Blowfish.new(key, Blowfish.MODE_CFB, iv=iv, segment_size=64)


def random_case(key_lengths):
    key = rng.randbytes(rng.choice(key_lengths))
    iv = rng.randbytes(8)
    data = rng.randbytes(8 * rng.randint(1, 64))
    return key, iv, data


def modes_against_pycryptodome():
    requests, expected = [], []
    # Keys past 56 bytes are cut; pycryptodome gets the first 56.
    key_lengths = list(range(4, 57)) + [57, 60, 72]
    for mode in (0, 1, 2):
        for _ in range(CASES):
            key, iv, data = random_case(key_lengths)
            cipher = reference(key, mode, iv).encrypt(data)
            requests.append(("encrypt", str(mode), key.hex(), iv.hex(), data.hex()))
            expected.append(cipher.hex())
            # Decrypt independent random bytes, not just our own output.
            requests.append(("decrypt", str(mode), key.hex(), iv.hex(), data.hex()))
            expected.append(reference(key, mode, iv).decrypt(data).hex())
    for request, answer, want in zip(requests, ask_tool(requests), expected):
        check(answer == want, f"{request[0]} mode {request[1]} key {request[2]}: {answer} != {want}")
    print(f"pycryptodome: {len(requests)} encrypt/decrypt cases in modes 0-2")


def records_against_pycryptodome():
    requests, expected = [], []
    for _ in range(CASES):
        key = rng.randbytes(rng.randint(4, 56))
        record = rng.randbytes(rng.randint(0, 300))
        padded = record + bytes(8 - len(record) % 8)  # 1 to 8 zero bytes
        requests.append(("record", key.hex(), record.hex()))
        expected.append(Blowfish.new(key, Blowfish.MODE_ECB).encrypt(padded).hex())
    for request, answer, want in zip(requests, ask_tool(requests), expected):
        check(answer == want, f"record of {len(request[2]) // 2} bytes: {answer} != {want}")
    print(f"pycryptodome: {len(requests)} padded records")


def errors():
    answers = ask_tool([("encrypt", "0", "00112233", "00" * 8, "aa" * 7),
                        ("decrypt", "2", "00112233", "00" * 8, "aa" * 9)])
    check(answers == ["error: Incorrect buffer length"] * 2, f"partial blocks: {answers}")


def openssl(cipher_name, key, iv, data):
    command = ["openssl", "enc", "-provider", "legacy", "-provider", "default",
               "-" + cipher_name, "-K", key.hex(), "-nopad"]
    if iv is not None:
        command += ["-iv", iv.hex()]
    return subprocess.run(command, input=data, check=True, capture_output=True).stdout


def against_openssl():
    if shutil.which("openssl") is None:
        print("openssl: not installed, skipped")
        return
    requests, expected = [], []
    for _ in range(20):
        key, iv, data = random_case([16])
        requests.append(("encrypt", "0", key.hex(), iv.hex(), data.hex()))
        expected.append(openssl("bf-ecb", key, None, data).hex())
        requests.append(("encrypt", "1", key.hex(), iv.hex(), data.hex()))
        expected.append(openssl("bf-cbc", key, iv, data).hex())
    for request, answer, want in zip(requests, ask_tool(requests), expected):
        check(answer == want, f"openssl mode {request[1]} key {request[2]}: {answer} != {want}")
    print(f"openssl: {len(requests)} ECB and CBC cases with 16-byte keys")


modes_against_pycryptodome()
records_against_pycryptodome()
errors()
against_openssl()
if failures:
    print(f"blowfish: {len(failures)} checks failed")
    sys.exit(1)
print("blowfish: all checks passed")
