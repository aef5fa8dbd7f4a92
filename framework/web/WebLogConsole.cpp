// The console mirror of the log; see the header. The file's write operation
// is wrapped on the open stream and on the file itself, so the log's own
// stream and any reopened one are both seen.
#include "framework/web/WebLogConsole.h"

#include <emscripten/emscripten.h>

namespace lum {

namespace {

EM_JS(void, lumMirrorLogToConsole, (const char* fileName), {
    var path = UTF8ToString(fileName);
    var lookup;
    try {
        lookup = FS.lookupPath(path);
    } catch (e) {
        return;
    }
    var node = lookup.node;
    if (node.lumMirrored) return;
    node.lumMirrored = true;
    var decoder = new TextDecoder('utf-8');
    var show = console.log;
    function send(text) {
        text.split('\n').forEach(function(line) {
            if (line.length === 0) return;
            var prefix = line.substr(0, 3);
            if (prefix === 'W: ') show = console.warn;
            else if (prefix === 'E: ') show = console.error;
            else if (prefix === 'I: ' || line.substr(0, 3) === '-- ') show = console.log;
            show.call(console, line);
        });
    }
    function mirrored(operations) {
        var wrapped = Object.assign({}, operations);
        wrapped.write = function(stream, buffer, offset, length, position, canOwn) {
            send(decoder.decode(buffer.subarray(offset, offset + length)));
            return operations.write(stream, buffer, offset, length, position, canOwn);
        };
        return wrapped;
    }
    send(decoder.decode(FS.readFile(path)));
    node.stream_ops = mirrored(node.stream_ops);
    FS.streams.forEach(function(stream) {
        if (stream && stream.node === node) stream.stream_ops = node.stream_ops;
    });
});

} // namespace

void WebLogConsole::install() { lumMirrorLogToConsole("log.txt"); }

} // namespace lum
