// Reads the reader's Favorites: ext_BM.js, beside the help file, holds the variable ext_BM,
// one string in which every item ends with the character U+0001. An item "[Name]" starts
// the section of the help file Name.chm; the items after it are its favourites, each
// "name=topic" (the topic's path inside that help file).

// Includes ext_BM.js from the help file's folder (a file that is not there leaves
// ext_BM undefined: no favourites yet). The file is ASCII, whatever this page's charset:
// the client writes every other character as a \uXXXX escape.
function IncludeFavorites() {
  document.write('<script type="text/javascript" src="' + FolderFileAddress("ext_BM.js") +
                 '"><\/script>');
}

// [{ helpFile: "Sample", entries: [{ name: "Start", topic: "index.htm" }, ...] }, ...]
function FavoriteGroups() {
  var groups = [];
  if (typeof ext_BM != "string")
    return groups;
  var items = ext_BM.split("\u0001");
  for (var i = 0; i < items.length; i++) {
    var item = items[i];
    if (item.charAt(0) == "[" && item.charAt(item.length - 1) == "]") {
      groups.push({ helpFile: item.substring(1, item.length - 1), entries: [] });
    } else if (item.indexOf("=") > 0 && groups.length > 0) {
      var equals = item.indexOf("=");
      groups[groups.length - 1].entries.push(
        { name: item.substring(0, equals), topic: item.substring(equals + 1) });
    }
  }
  return groups;
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
    var file = folder + groups[g].helpFile + ".chm";
    document.write("<h2>" + HtmlText(groups[g].helpFile) + "</h2><ul>");
    for (var e = 0; e < groups[g].entries.length; e++) {
      var entry = groups[g].entries[e];
      var remove = "/bmdel" + entry.name + "=mk:@MSITStore:" + file + "::/";
      document.write('<li><a href="' + HtmlText("mk:@MSITStore:" + file + "::/" + entry.topic) +
                     '">' + HtmlText(entry.name) + '</a> <button onclick="StartClient(\'' +
                     HtmlText(remove.replace(/\\/g, "\\\\").replace(/'/g, "\\'")) +
                     '\'); setTimeout(function () { location.reload(); }, 1000);">Remove</button></li>');
    }
    document.write("</ul>");
  }
}

// Adds this page under a name the reader gives. A name may not hold a double quote, a
// backslash, an equals sign, a line break or U+0001: the client refuses it.
function AddThisPage() {
  var name = prompt("Name of the favourite:", document.title);
  if (!name)
    return;
  StartClient("/bmadd" + name + "=" + PageLocation());
  setTimeout(function () { location.reload(); }, 1000);
}
