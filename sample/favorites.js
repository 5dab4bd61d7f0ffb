// Reads the reader's Favorites: ext_BM.js, beside the help file, holds the variable ext_BM,
// one string in which every item ends with the character U+0001. An item that begins with
// "[" starts a section; "[Name]" is the section of the help file Name.chm (or of Name when
// it ends in ".chm" already: the client keeps an extension in capitals). The items after
// it are its favourites, each "name=topic" (the topic's path inside that help file). The
// client reads the file the same way: what this page lists, its Remove buttons reach.

// Includes ext_BM.js from the help file's folder (a file that is not there leaves
// ext_BM undefined: no favourites yet). The file is ASCII, whatever this page's charset:
// the client writes every other character as a \uXXXX escape. The address is escaped
// as HTML, or the "&not" of a folder "C:\Tips&not Final\" would be read as a "not" sign.
function IncludeFavorites() {
  document.write('<script type="text/javascript" src="' +
                 HtmlText(FolderFileAddress("ext_BM.js")) + '"><\/script>');
}

// [{ helpFile: "Sample", entries: [{ name: "Start", topic: "index.htm" }, ...] }, ...]
// A section that appears twice is one, in its first place (the client merges the two at
// its next change). A section item without "]" names no help file: its favourites are
// out of the client's reach, and not listed.
function FavoriteGroups() {
  var groups = [];
  if (typeof ext_BM != "string")
    return groups;
  var sections = {};
  var current = null;
  var items = ext_BM.split("\u0001");
  for (var i = 0; i < items.length; i++) {
    var item = items[i];
    if (item.charAt(0) == "[") {
      // Keys are prefixed, so that no section is taken for a property every object has.
      var key = "[" + item.toLowerCase();
      if (!sections.hasOwnProperty(key)) {
        var named = item.length > 1 && item.charAt(item.length - 1) == "]";
        sections[key] = { helpFile: item.substring(1, item.length - 1), entries: [] };
        if (named)
          groups.push(sections[key]);
      }
      current = sections[key];
    } else if (item.indexOf("=") > 0 && current) {
      var equals = item.indexOf("=");
      current.entries.push({ name: item.substring(0, equals), topic: item.substring(equals + 1) });
    }
  }
  return groups;
}

// The help file of a section: "Sample" is Sample.chm, "DICT.CHM" is DICT.CHM.
function HelpFileOfSection(section) {
  return /\.chm$/i.test(section) ? section : section + ".chm";
}

// Text as a script's string literal, in single quotes: quotes, backslashes and line
// breaks escaped.
function ScriptString(text) {
  return "'" + text.replace(/[\\'"\u0000-\u001f\u2028\u2029]/g, function (c) {
    return "\\u" + ("000" + c.charCodeAt(0).toString(16)).slice(-4);
  }) + "'";
}

// Lists the favourites, grouped by help file, each a link to its page and a button that
// removes it (/bmdel with the favourite's name and its help file).
function WriteFavorites() {
  var groups = FavoriteGroups();
  if (groups.length == 0) {
    document.write("<p>No favourites yet.</p>");
    return;
  }
  var folder = HelpFileFolder();
  for (var g = 0; g < groups.length; g++) {
    var file = folder + HelpFileOfSection(groups[g].helpFile);
    document.write("<h2>" + HtmlText(groups[g].helpFile) + "</h2><ul>");
    for (var e = 0; e < groups[g].entries.length; e++) {
      var entry = groups[g].entries[e];
      var remove = "/bmdel" + entry.name + "=mk:@MSITStore:" + file + "::/";
      document.write('<li><a href="' + HtmlText("mk:@MSITStore:" + file + "::/" + entry.topic) +
                     '">' + HtmlText(entry.name) + '</a> <button onclick="' +
                     HtmlText("StartClient(" + ScriptString(remove) + "); ShowWhenChanged();") +
                     '">Remove</button></li>');
    }
    document.write("</ul>");
  }
}

// Why the client would refuse a favourite of this name, in the client's own words; ""
// when it takes it. Blanks at the end of a name are dropped.
function FavoriteNameProblem(name) {
  var characters = { "\"": "a double quote (\")", "\u0001": "the control character U+0001",
                     "\r": "a line break", "\n": "a line break", "\\": "a backslash (\\)",
                     "=": "an equals sign (=)" };
  var unchanged = ", which is not allowed.\r\nThe Favorites file was not changed.";
  name = name.replace(/ +$/, "");
  for (var i = 0; i < name.length; i++) {
    if (characters.hasOwnProperty(name.charAt(i)))
      return "The favourite's name contains " + characters[name.charAt(i)] + unchanged;
  }
  if (name.charAt(0) == "[")
    return "The favourite's name begins with \"[\"" + unchanged;
  return "";
}

// Adds this page under a name the reader gives; a name the client would refuse is
// refused here, with the same words, and the client is not started.
function AddThisPage() {
  var name = prompt("Name of the favourite:", document.title);
  if (!name)
    return;
  var problem = FavoriteNameProblem(name);
  if (problem) {
    alert(problem);
    return;
  }
  StartClient("/bmadd" + name + "=" + PageLocation());
  ShowWhenChanged();
}

// A short mark of the list as read: equal lists give equal marks.
function FavoritesMark() {
  var text = typeof ext_BM == "string" ? ext_BM : "";
  var mark = text.length;
  for (var i = 0; i < text.length; i++)
    mark = (mark * 31 + text.charCodeAt(i)) % 1000000007;
  return String(mark);
}

// After Add or Remove the client needs a moment (longer on a slow start, on a share, or
// while it shows a message): the page reads the file again once a second, up to twelve
// times, until the list differs from the one it showed. What it waits for stands at the
// end of the page's address, which a reload keeps: "#wait-<mark>-<tries left>", or a bare
// "#" once it stopped. A "#" before it belongs to the help file's folder ("C:\C#\").
var WaitPrefix = "#wait-";
var WaitMarker = /#(wait-(\d+)-(\d+))?$/;

function PageAddressWith(marker) {
  return location.href.replace(WaitMarker, "") + marker;
}

function WaitAgain(mark, tries) {
  location.replace(PageAddressWith(WaitPrefix + mark + "-" + tries));
  setTimeout(function () { location.reload(); }, 1000);
}

function ShowWhenChanged() {
  WaitAgain(FavoritesMark(), 12);
}

// Called as the page loads: goes on waiting, or stops once the list changed.
function ContinueWaiting() {
  // JScript gives "" for a group that took no part, where ES5 gives undefined.
  var wait = WaitMarker.exec(location.href);
  if (!wait || !wait[1])
    return;
  var tries = parseInt(wait[3], 10) - 1;
  if (wait[2] != FavoritesMark() || !(tries > 0)) {
    location.replace(PageAddressWith("#"));
    return;
  }
  WaitAgain(wait[2], tries);
}
