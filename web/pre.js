// Runs inside each program's module: standard input and output, and the
// records of --trace, from and to the page (web/page.js).
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  FS.init(Module.listInput, Module.listOutput, Module.listErrors);
  var device = FS.makedev(64, 0);
  FS.registerDevice(device, {
    open: function () {},
    close: function () {},
    read: function () { return 0; },
    write: function (stream, buffer, offset, length) {
      Module.listRecords(buffer.subarray(offset, offset + length));
      return length;
    },
  });
  FS.mkdev('/dev/trace', device);
});
