"""A small HTTP server on 127.0.0.1 for tests: every GET is answered with
the bytes of REPLY_FILE (read afresh each time) and logged as one line in
LOG_FILE; with --silent it accepts connections and never answers.
Prints its port on the first line of standard output, then serves until
killed.

Usage: reply_server.py REPLY_FILE LOG_FILE [--silent]
"""

import http.server
import socket
import sys
import time


def main():
    reply_file, log_file = sys.argv[1], sys.argv[2]
    silent = "--silent" in sys.argv[3:]

    if silent:
        listener = socket.socket()
        listener.bind(("127.0.0.1", 0))
        listener.listen(16)
        print(listener.getsockname()[1], flush=True)
        held = []
        while True:
            conn, _ = listener.accept()
            held.append(conn)  # never answered, never closed
            with open(log_file, "a") as log:
                log.write("accepted\n")

    class Handler(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            with open(log_file, "a") as log:
                log.write(f"GET {self.path}\n")
            with open(reply_file, "rb") as f:
                body = f.read()
            self.send_response(200)
            self.send_header("Content-Type", "text/plain")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
