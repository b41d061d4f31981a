// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer's map: a marker that follows the car, the opened recording's
// track coloured by speed with its event pins, a scale, and tiles when an
// address is given. The viewer calls the global functions below with string
// arguments only.
'use strict';

const kStartZoom = 16;
const kTopSpeedKmh = 120;
const kKilometresPerMile = 1.609344;
// Blue (slow) to red (fast), the legend's ramp.
const kSpeedColours = ['#2b83ba', '#abdda4', '#ffffbf', '#fdae61', '#d7191c'];

const map = L.map('map', {zoomControl: false, attributionControl: true, worldCopyJump: true});
map.setView([0, 0], 2);
L.control.scale({metric: true, imperial: false, maxWidth: 90}).addTo(map);
map.attributionControl.setPrefix(false);

const trackLayer = L.layerGroup().addTo(map);
const eventLayer = L.layerGroup().addTo(map);
const marker = L.marker([0, 0], {
  icon: L.divIcon({className: '', html: '<div class="car-marker"></div>', iconSize: [14, 14], iconAnchor: [7, 7]}),
  interactive: false,
  keyboard: false,
  zIndexOffset: 1000,
});
let tileLayer = null;
// The legend's unit ("kmh" or "mph") and its fastest end in km/h.
let speedUnit = 'kmh';
let legendTopKmh = kTopSpeedKmh;

function readDegrees(text, limit) {
  const value = Number(String(text).trim());
  return Number.isFinite(value) && Math.abs(value) <= limit ? value : null;
}

function speedColour(kmh, top) {
  const share = Math.min(Math.max(kmh / top, 0), 1);
  return kSpeedColours[Math.min(kSpeedColours.length - 1, Math.floor(share * kSpeedColours.length))];
}

// Moves the marker, keeping it well inside the view. Text that is no
// position leaves the marker where it is.
function SetGpsLatLon(latitude, longitude) {
  const lat = readDegrees(latitude, 90);
  const lon = readDegrees(longitude, 180);
  if (lat === null || lon === null)
    return;
  const place = L.latLng(lat, lon);
  marker.setLatLng(place);
  if (!map.hasLayer(marker)) {
    marker.addTo(map);
    if (trackLayer.getLayers().length === 0)
      map.setView(place, kStartZoom, {animate: false});
  }
  if (!map.getBounds().pad(-0.15).contains(place))
    map.panTo(place, {animate: false});
}

function addSpeedLine(points, top) {
  let run = [];
  let colour = null;
  const flush = () => {
    if (run.length > 1)
      L.polyline(run, {color: colour, weight: 4, opacity: 0.95, lineCap: 'round', interactive: false}).addTo(trackLayer);
  };
  for (const [lat, lon, kmh] of points) {
    const next = speedColour(kmh, top);
    if (next !== colour && run.length > 0) {
      run.push([lat, lon]);
      flush();
      run = [run[run.length - 1]];
    } else {
      run.push([lat, lon]);
    }
    colour = next;
  }
  flush();
}

// An event's pin on the event layer; `kind` adds a class that tells its
// source apart.
function addEventPin(lat, lon, label, kind = '') {
  const html = '<div class="event-pin' + (kind ? ' ' + kind : '') + '"></div>';
  const icon = L.divIcon({className: '', html: html, iconSize: [18, 18], iconAnchor: [9, 18]});
  return L.marker([lat, lon], {icon: icon, keyboard: false, title: String(label)}).addTo(eventLayer);
}

function addEventPins(events, kind) {
  for (const [lat, lon, label] of events)
    addEventPin(lat, lon, label, kind);
}

function showLegendTop() {
  const top = speedUnit === 'mph' ? Math.round(legendTopKmh / kKilometresPerMile) : legendTopKmh;
  document.getElementById('legend-top').textContent = String(top);
  document.getElementById('legend-unit').textContent = speedUnit === 'mph' ? 'mph' : 'km/h';
}

// The legend in "kmh" or "mph"; the track's colours stay, only the numbers
// change.
function SetSpeedUnit(unit) {
  speedUnit = unit === 'mph' ? 'mph' : 'kmh';
  showLegendTop();
}

// The JSON text read, the tracks and pins cleared for it; null for text
// that is no JSON, which leaves the map as it is.
function clearedFor(json) {
  let value;
  try {
    value = JSON.parse(json);
  } catch (error) {
    return null;
  }
  trackLayer.clearLayers();
  eventLayer.clearLayers();
  return value;
}

// The whole track of the opened recording, as JSON text:
// {"points": [[lat, lon, km/h], ...], "events": [[lat, lon, label], ...],
//  "harsh": [[lat, lon, label], ...]}; the harsh moments found from the
// G-sensor get amber pins.
function ShowTrack(json) {
  const track = clearedFor(json);
  if (track === null)
    return;
  const points = Array.isArray(track.points) ? track.points : [];
  const events = Array.isArray(track.events) ? track.events : [];
  const harsh = Array.isArray(track.harsh) ? track.harsh : [];
  const fastest = points.reduce((top, point) => Math.max(top, point[2]), 0);
  const top = Math.max(kTopSpeedKmh, Math.ceil(fastest / 20) * 20);
  addSpeedLine(points, top);
  addEventPins(events, '');
  addEventPins(harsh, 'harsh-pin');
  legendTopKmh = top;
  showLegendTop();
  document.getElementById('legend').hidden = points.length < 2;
  if (points.length > 0) {
    map.fitBounds(L.latLngBounds(points.map(point => [point[0], point[1]])), {padding: [18, 18], maxZoom: kStartZoom, animate: false});
    SetGpsLatLon(String(points[0][0]), String(points[0][1]));
  } else {
    // A recording without positions shows no car, not the last one's place.
    marker.remove();
  }
}

function escapeHtml(text) {
  const holder = document.createElement('span');
  holder.textContent = String(text);
  return holder.innerHTML;
}

// Tiles from a "{z}/{x}/{y}" address; an empty address shows the plain ground.
function SetTileAddress(address, attribution) {
  if (tileLayer)
    tileLayer.remove();
  tileLayer = null;
  if (!address)
    return;
  tileLayer = L.tileLayer(address, {maxZoom: 19, attribution: escapeHtml(attribution)});
  tileLayer.addTo(map);
}

// The card overview: every drive's track in the colour the window's table
// shows for it, with the events as pins. A click on a track or a pin names the
// recording (its number in the overview's list) and the second within it
// through the page's title, which the window watches; a counter makes each
// click a new title.
let driveBounds = [];
let picks = 0;

function reportPick(recording, second) {
  picks += 1;
  document.title = 'pick ' + picks + ' ' + recording + ' ' + second;
}

// The point of `points` ([lat, lon, recording, second]) nearest to `place`.
function nearestPoint(points, place) {
  let best = points[0];
  for (const point of points)
    if (place.distanceTo(L.latLng(point[0], point[1])) < place.distanceTo(L.latLng(best[0], best[1])))
      best = point;
  return best;
}

// One line per recording: a drive's recordings join only where their tracks do.
function segmentsOf(points) {
  const segments = [];
  let recording = null;
  for (const point of points) {
    if (segments.length === 0 || point[2] !== recording)
      segments.push([]);
    recording = point[2];
    segments[segments.length - 1].push([point[0], point[1]]);
  }
  return segments;
}

function addDriveTrack(drive) {
  const points = Array.isArray(drive.points) ? drive.points : [];
  if (points.length === 0)
    return null;
  const line = L.polyline(segmentsOf(points), {color: String(drive.colour), weight: 5, opacity: 0.9});
  line.on('click', event => {
    const point = nearestPoint(points, event.latlng);
    reportPick(point[2], point[3]);
  });
  line.addTo(trackLayer);
  for (const [lat, lon, recording, second, label] of Array.isArray(drive.events) ? drive.events : [])
    addEventPin(lat, lon, label).on('click', () => reportPick(recording, second));
  return line.getBounds();
}

// {"drives": [{"colour": "#rrggbb", "points": [[lat, lon, recording, second], ...],
//              "events": [[lat, lon, recording, second, label], ...]}, ...]}
function ShowDrives(json) {
  const card = clearedFor(json);
  if (card === null)
    return;
  marker.remove();
  document.getElementById('legend').hidden = true;
  const drives = Array.isArray(card.drives) ? card.drives : [];
  driveBounds = drives.map(addDriveTrack);
  const all = driveBounds.filter(bounds => bounds !== null);
  if (all.length > 0)
    map.fitBounds(all.reduce((sum, bounds) => sum.extend(bounds), L.latLngBounds(all[0].getSouthWest(), all[0].getNorthEast())),
                  {padding: [24, 24], animate: false});
}

// Fits the view to drive `index` of the last ShowDrives.
function FitDrive(index) {
  const bounds = driveBounds[Number(index)];
  if (bounds)
    map.fitBounds(bounds, {padding: [24, 24], animate: false});
}
