// Offline search over window.QOV_MANUAL_INDEX (search-index.js, made by
// scripts/make-manual-index.py). Works from file:// with no server: the index is a script.
(function () {
  "use strict";

  var index = window.QOV_MANUAL_INDEX || [];
  var input = document.getElementById("q");
  var results = document.getElementById("results");
  var summary = document.getElementById("summary");
  var hint = summary.textContent;

  // Lower case without diacritics, "đ" as "dj" (the program's own texts write it so), with a
  // map from each position of the folded text back to the original.
  function fold(text) {
    var out = "";
    var map = [];
    for (var i = 0; i < text.length; i++) {
      var c = text.charAt(i).toLowerCase();
      var f = c === "đ" ? "dj" : c.normalize("NFD").replace(/[\u0300-\u036f]/g, "");
      for (var k = 0; k < f.length; k++) {
        out += f.charAt(k);
        map.push(i);
      }
    }
    map.push(text.length);
    return { text: out, map: map };
  }

  var folded = index.map(function (e) {
    return {
      entry: e,
      heading: fold(e.heading + " " + e.title).text,
      body: fold(e.text)
    };
  });

  // The query's words; one-letter words ("u", "i") only when there is nothing else.
  function words(query) {
    var all = fold(query).text.split(/[^0-9a-z\u0400-\u04ff]+/).filter(Boolean);
    var long = all.filter(function (w) { return w.length > 1; });
    return long.length > 0 ? long : all;
  }

  function count(haystack, needle) {
    var n = 0;
    var at = haystack.indexOf(needle);
    while (at >= 0) {
      n++;
      at = haystack.indexOf(needle, at + needle.length);
    }
    return n;
  }

  function escapeHtml(text) {
    return text.replace(/[&<>"]/g, function (c) {
      return { "&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;" }[c];
    });
  }

  // Some 200 characters around the first hit, hits marked.
  function snippet(f, ws) {
    var first = f.body.text.length;
    ws.forEach(function (w) {
      var at = f.body.text.indexOf(w);
      if (at >= 0 && at < first) first = at;
    });
    if (first === f.body.text.length) first = 0;
    var text = f.entry.text;
    var start = Math.max(0, f.body.map[first] - 80);
    var end = Math.min(text.length, start + 220);
    var piece = text.substring(start, end);
    var pf = fold(piece);
    var marks = [];
    ws.forEach(function (w) {
      var at = pf.text.indexOf(w);
      while (at >= 0) {
        marks.push([pf.map[at], pf.map[at + w.length]]);
        at = pf.text.indexOf(w, at + w.length);
      }
    });
    marks.sort(function (a, b) { return a[0] - b[0]; });
    var html = "";
    var pos = 0;
    marks.forEach(function (m) {
      if (m[0] < pos) return;
      html += escapeHtml(piece.substring(pos, m[0])) + "<mark>" +
        escapeHtml(piece.substring(m[0], m[1])) + "</mark>";
      pos = m[1];
    });
    html += escapeHtml(piece.substring(pos));
    return (start > 0 ? "… " : "") + html + (end < text.length ? " …" : "");
  }

  function search(query) {
    var ws = words(query);
    results.innerHTML = "";
    if (ws.length === 0) {
      summary.textContent = hint;
      return;
    }
    var phrase = fold(query.trim()).text;
    var found = [];
    folded.forEach(function (f) {
      var score = 0;
      for (var i = 0; i < ws.length; i++) {
        var inBody = count(f.body.text, ws[i]);
        var inHeading = count(f.heading, ws[i]);
        if (inBody + inHeading === 0) return;
        score += Math.min(inBody, 5) + 5 * inHeading;
      }
      if (ws.length > 1 && f.body.text.indexOf(phrase) >= 0) score += 50;
      found.push({ f: f, score: score });
    });
    found.sort(function (a, b) { return b.score - a.score; });
    summary.textContent = found.length === 0
      ? "Nema rezultata za „" + query.trim() + "“."
      : "Rezultata: " + found.length + ".";
    found.slice(0, 50).forEach(function (r) {
      var e = r.f.entry;
      var li = document.createElement("li");
      var href = e.page + (e.id ? "#" + e.id : "");
      li.innerHTML = '<a href="' + href + '">' + escapeHtml(e.heading) + "</a>" +
        '<div class="where">' + escapeHtml(e.title) + "</div>" +
        "<div>" + snippet(r.f, ws) + "</div>";
      results.appendChild(li);
    });
  }

  var params = new URLSearchParams(window.location.search);
  if (params.get("q")) {
    input.value = params.get("q");
  }
  input.addEventListener("input", function () { search(input.value); });
  document.getElementById("form").addEventListener("submit", function (event) {
    event.preventDefault();
    search(input.value);
  });
  search(input.value);
})();
