graph [ node [ id 1 graphics [ w 1e5 ] ] ]
