"""The sample pages on 127.0.0.1, as scripts/run serves them."""

import http.server
import threading
import time
from pathlib import Path

SAMPLES = Path(__file__).resolve().parents[3] / "resources" / "samples"


class SampleServer:
    """resources/samples on 127.0.0.1, as scripts/run serves it. A path
    /slow/SECONDS/NAME answers with NAME after SECONDS, for runs that must
    still be busy when Stop is pressed."""

    def __init__(self):
        server = self

        class Handler(http.server.SimpleHTTPRequestHandler):
            def __init__(self, *args, **kwargs):
                super().__init__(*args, directory=str(SAMPLES), **kwargs)

            def do_GET(self):
                parts = self.path.split("/")
                if len(parts) >= 4 and parts[1] == "slow":
                    deadline = time.monotonic() + float(parts[2])
                    while time.monotonic() < deadline and not server.stopping.is_set():
                        time.sleep(0.05)
                    self.path = "/" + "/".join(parts[3:])
                super().do_GET()

            def log_message(self, *args):
                pass

        class Server(http.server.ThreadingHTTPServer):
            def handle_error(self, request, client_address):
                pass  # a client that hung up (Stop aborts its download)

        self.stopping = threading.Event()
        self.httpd = Server(("127.0.0.1", 0), Handler)
        self.httpd.daemon_threads = True
        self.port = self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def url(self, name):
        return f"http://127.0.0.1:{self.port}/{name}"

    def sample_list(self, url_prefix=""):
        """sample.xml with this server's port; url_prefix (say "slow/3/") goes
        before every page name."""
        text_ = (SAMPLES / "sample.xml").read_text(encoding="utf-8")
        return text_.replace("127.0.0.1:PORT/", f"127.0.0.1:{self.port}/{url_prefix}")

    def close(self):
        self.stopping.set()
        self.httpd.shutdown()
        self.httpd.server_close()
