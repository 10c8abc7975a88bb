// The viewer's map page. The program calls these functions with text
// arguments: DrawCurrent(lon, lat) moves the current-position marker and
// centres the map, IconMarker(lon, lat) adds a route marker, DeleteOverlay()
// removes the route markers, DrawRoute(lon, lat, lon, lat, ...) draws the
// recording's whole route. MapState() reports what is shown (for tests).
// Without a network the tiles stay empty; markers and route still show at once.
'use strict';

var map = L.map('map', {zoomControl: true, attributionControl: true})
              .setView([35.684066, 139.774494], 15);
var tiles = L.tileLayer('https://tile.openstreetmap.org/{z}/{x}/{y}.png', {
  maxZoom: 19,
  attribution: '&copy; OpenStreetMap contributors'
});
// The tiles come once the page has loaded: offline, their requests fail only
// after network time-outs and would hold back the page's load, and with it
// the program's first calls (route and marker).
window.addEventListener('load', function() { tiles.addTo(map); });

var current = null;
var routeMarkers = [];
var route = null;

function toLatLng(lon, lat) {
  var x = parseFloat(lon);
  var y = parseFloat(lat);
  if (!isFinite(x) || !isFinite(y) || Math.abs(y) > 90 || Math.abs(x) > 180) return null;
  return L.latLng(y, x);
}

function DrawCurrent(lon, lat) {
  var at = toLatLng(lon, lat);
  if (!at) return;
  if (!current) {
    current = L.circleMarker(at, {radius: 8, color: '#ffffff', weight: 2,
                                  fillColor: '#ff8c00', fillOpacity: 1}).addTo(map);
  } else {
    current.setLatLng(at);
  }
  current.bringToFront();
  map.panTo(at, {animate: false});
}

function IconMarker(lon, lat) {
  var at = toLatLng(lon, lat);
  if (!at) return;
  routeMarkers.push(L.circleMarker(at, {radius: 4, color: '#1d98ce', weight: 2,
                                        fillColor: '#ffffff', fillOpacity: 1}).addTo(map));
}

function DeleteOverlay() {
  routeMarkers.forEach(function(m) { map.removeLayer(m); });
  routeMarkers = [];
}

function DrawRoute() {
  if (route) {
    map.removeLayer(route);
    route = null;
  }
  var points = [];
  for (var i = 0; i + 1 < arguments.length; i += 2) {
    var at = toLatLng(arguments[i], arguments[i + 1]);
    if (at) points.push(at);
  }
  if (points.length === 0) return;
  route = L.polyline(points, {color: '#1d98ce', weight: 4, opacity: 1}).addTo(map);
  if (current) current.bringToFront();
  // A short recording's route still fills a good part of the pane.
  map.fitBounds(route.getBounds(), {padding: [30, 30], maxZoom: 19, animate: false});
}

function MapState() {
  var c = current ? current.getLatLng() : null;
  return JSON.stringify({
    current: c ? [c.lng, c.lat] : null,
    markers: routeMarkers.map(function(m) {
      var p = m.getLatLng();
      return [p.lng, p.lat];
    }),
    route: route ? route.getLatLngs().length : 0,
    centre: [map.getCenter().lng, map.getCenter().lat]
  });
}
