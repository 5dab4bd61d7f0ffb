// Starts the Quillbay Client (Varnholt.exe) with one switch, the way every page of the
// dictionary does it: through the HTML Help control's ShortCut command. Its Item1 is
// ",<program>,<switch and argument>"; the program is found by its bare name, through the
// App Paths entry that its setup made.
//
// A fixed switch can stand in the page as it is:
//   <object id="HidePane" type="application/x-oleobject"
//           classid="clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11" width="0" height="0">
//     <param name="Command" value="ShortCut">
//     <param name="Item1" value=",Varnholt.exe,/pane 0">
//   </object>
//   <a href="javascript:HidePane.Click()">Hide the contents</a>
// StartClient builds that object for a switch whose argument is known only when the page
// runs (the page's own address, for example).
//
// A switch's argument is all the text after the switch, as it stands: a blank written
// after "/bmadd", "/title", "/reg", "/move" or "/run" becomes part of the name, title or
// path. Numbers ("/pane 0", "/keyb 1049") may have the blank.

function HtmlText(text) {
  return text.replace(/&/g, "&amp;").replace(/"/g, "&quot;").replace(/</g, "&lt;");
}

function StartClient(switchText) {
  var holder = document.getElementById("ClientShortcut");
  if (!holder) {
    holder = document.createElement("div");
    holder.id = "ClientShortcut";
    document.body.appendChild(holder);
  }
  holder.innerHTML =
    '<object id="ClientCall" type="application/x-oleobject"' +
    ' classid="clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11" width="0" height="0">' +
    '<param name="Command" value="ShortCut">' +
    '<param name="Item1" value=",Varnholt.exe,' + HtmlText(switchText) + '">' +
    '</object>';
  document.getElementById("ClientCall").Click();
}

// The page's address inside the help file: "mk:@MSITStore:C:\Dict\Sample.chm::/viewer.htm".
function PageLocation() {
  return unescape(location.href);
}

// The help file's path, from the page's address: from its drive letter
// ("C:\Dict\Sample.chm") or from the "\\" of a share ("\\server\books\Sample.chm"), after a
// prefix such as "mk:@MSITStore:"; "" when it has neither. The client reads it the same way.
function HelpFilePath() {
  var path = PageLocation();
  var end = path.indexOf("::");
  if (end >= 0)
    path = path.substring(0, end);
  path = path.replace(/\//g, "\\");
  var share = path.indexOf("\\\\");
  if (share >= 0) {
    var before = path.substring(0, share);
    if ((share == 0 || before.charAt(share - 1) == ":") && !/(^|:)[A-Za-z]:$/.test(before) &&
        before.indexOf(":\\") < 0)
      return path.substring(share);
  }
  var drive = path.indexOf(":\\");
  return drive > 0 ? path.substring(drive - 1) : "";
}

// The help file's folder with its trailing "\": "C:\Dict\" or "\\server\books\".
function HelpFileFolder() {
  var path = HelpFilePath();
  return path.substring(0, path.lastIndexOf("\\") + 1);
}

// A part of a path as it stands in an address: every ASCII character that could end it
// or change its meaning ("#", "%", "?", a blank, ...) percent-encoded; other characters
// stay as they are, as the viewer's engine expects them in a file: address.
function AddressPart(text) {
  var safe = /[A-Za-z0-9\-._~!$&'()*+,;=:@\u0080-\uffff]/;
  var out = "";
  for (var i = 0; i < text.length; i++) {
    var c = text.charAt(i);
    if (safe.test(c)) {
      out += c;
    } else {
      var code = c.charCodeAt(0);
      out += (code < 16 ? "%0" : "%") + code.toString(16).toUpperCase();
    }
  }
  return out;
}

// The file: address of a file in the help file's folder: "file:///C:/Dict/ext_BM.js", or
// "file://server/books/ext_BM.js" on a share; each part of the path percent-encoded
// ("C:\C# Books 100%\" is "file:///C:/C%23%20Books%20100%25/").
function FolderFileAddress(name) {
  var folder = HelpFileFolder();
  var share = folder.charAt(0) == "\\";
  var parts = folder.substring(share ? 2 : 0).split("\\");
  for (var i = share ? 0 : 1; i < parts.length; i++)
    parts[i] = AddressPart(parts[i]);
  return (share ? "file://" : "file:///") + parts.join("/") + AddressPart(name);
}
