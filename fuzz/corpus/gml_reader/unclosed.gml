graph [ node [ id 1 ]
