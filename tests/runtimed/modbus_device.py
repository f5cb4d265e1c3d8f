#!/usr/bin/python3
"""A Modbus TCP device for the tests: pymodbus's server with a datastore of
SIZE coils, discrete inputs, input and holding registers at addresses
0..SIZE-1 (anything beyond is refused with an illegal-address exception).

    modbus_device.py [PORT [SIZE]]     (port 0 or none: a free one; size 100)

Prints "listening PORT" when it serves. Standard input is a control channel,
one command a line, each answered with one line:
    set TABLE ADDRESS VALUE...  -> "ok"
    get TABLE ADDRESS COUNT     -> the values, separated by spaces
TABLE is co, di, ir or hr. End of input ends the device."""

import asyncio
import logging
import sys
import threading

from pymodbus.datastore import ModbusSequentialDataBlock, ModbusServerContext, ModbusSlaveContext
from pymodbus.server.async_io import ModbusTcpServer

FUNCTIONS = {"co": 1, "di": 2, "hr": 3, "ir": 4}


def control(store, loop):
    for line in sys.stdin:
        words = line.split()
        try:
            table = FUNCTIONS[words[1]]
            address = int(words[2])
            if words[0] == "set":
                store.setValues(table, address, [int(w) for w in words[3:]])
                reply = "ok"
            else:
                reply = " ".join(str(int(v)) for v in store.getValues(table, address, int(words[3])))
        except (IndexError, KeyError, ValueError) as error:
            reply = "error " + str(error)
        print(reply, flush=True)
    loop.call_soon_threadsafe(loop.stop)


async def serve(port, size):
    blocks = {name: ModbusSequentialDataBlock(0, [0] * size) for name in ("di", "co", "hr", "ir")}
    store = ModbusSlaveContext(zero_mode=True, **blocks)
    server = ModbusTcpServer(ModbusServerContext(slaves=store, single=True), address=("127.0.0.1", port),
                             allow_reuse_address=True)
    task = asyncio.ensure_future(server.serve_forever())
    await server.serving
    print("listening", server.server.sockets[0].getsockname()[1], flush=True)
    threading.Thread(target=control, args=(store, asyncio.get_running_loop()), daemon=True).start()
    await task


def main():
    # Exception replies are what some tests ask for, not news.
    logging.disable(logging.CRITICAL)
    port = int(sys.argv[1]) if len(sys.argv) > 1 else 0
    size = int(sys.argv[2]) if len(sys.argv) > 2 else 100
    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    loop.create_task(serve(port, size))
    loop.run_forever()


if __name__ == "__main__":
    main()
